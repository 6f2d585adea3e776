// The control library's entry points: registration in the user's registry
// file, the class factory and the unload answer.
#include <cstring>
#include <strings.h>

#include "editor/wx/quvpad.hpp"
#include "editor/wx/quvpad_ctrl.hpp"
#include "platform/class_registry.hpp"
#include "platform/file_lock.hpp"
#include "platform/registry_file.hpp"
#include "platform/shared_library.hpp"

namespace {

using platform::RegistryFile;

std::string LibraryPath() { return platform::ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer)); }

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The type library and the two interfaces it describes.
void WriteTypeLib(RegistryFile& reg, const std::string& library)
{
    std::string lib = platform::TypeLibKey(quvpad::kLibId) + "\\1.0";
    reg.SetValue(lib, "", quvpad::kLibHelpString);
    reg.SetValue(lib + "\\0\\linux", "", library);
    reg.SetValue(lib + "\\FLAGS", "", "0");
    reg.SetValue(lib + "\\HELPDIR", "", FolderOf(library));
    const std::pair<const char*, const char*> interfaces[] = {{quvpad::kDispatchIid, "_DQuvPad"},
                                                              {quvpad::kEventsIid, "_DQuvPadEvents"}};
    for (const auto& [iid, name] : interfaces) {
        std::string key = platform::InterfaceKey(iid);
        reg.SetValue(key, "", name);
        reg.SetValue(key + "\\TypeLib", "", quvpad::kLibId);
        reg.SetValue(key + "\\TypeLib", "Version", "1.0");
    }
}

void RemoveTypeLib(RegistryFile& reg)
{
    reg.DeleteKey(platform::TypeLibKey(quvpad::kLibId));
    reg.DeleteKey(platform::InterfaceKey(quvpad::kDispatchIid));
    reg.DeleteKey(platform::InterfaceKey(quvpad::kEventsIid));
}

void WriteClasses(RegistryFile& reg, const std::string& library)
{
    std::string ctrl = platform::ClassKey(quvpad::kControlClsid);
    reg.SetValue(ctrl, "", quvpad::kControlTypeName);
    reg.SetValue(ctrl + "\\InprocServer32", "", library);
    reg.SetValue(ctrl + "\\InprocServer32", "ThreadingModel", "Apartment");
    reg.SetValue(ctrl + "\\ProgID", "", quvpad::kControlProgId);
    reg.SetValue(ctrl + "\\Control", "", "");
    reg.SetValue(ctrl + "\\ToolboxBitmap32", "", library + ", 1");
    reg.SetValue(ctrl + "\\MiscStatus", "", "0");
    reg.SetValue(ctrl + "\\MiscStatus\\1", "", std::to_string(quvpad::kControlMiscStatus));
    reg.SetValue(ctrl + "\\TypeLib", "", quvpad::kLibId);
    reg.SetValue(ctrl + "\\Version", "", "1.0");
    std::string progId = platform::ProgIdKey(quvpad::kControlProgId);
    reg.SetValue(progId, "", quvpad::kControlTypeName);
    reg.SetValue(progId + "\\CLSID", "", quvpad::kControlClsid);

    std::string page = platform::ClassKey(quvpad::kPropPageClsid);
    reg.SetValue(page, "", quvpad::kPropPageTypeName);
    reg.SetValue(page + "\\InprocServer32", "", library);
    reg.SetValue(page + "\\ProgID", "", quvpad::kPropPageProgId);
    std::string pageProgId = platform::ProgIdKey(quvpad::kPropPageProgId);
    reg.SetValue(pageProgId, "", quvpad::kPropPageTypeName);
    reg.SetValue(pageProgId + "\\CLSID", "", quvpad::kPropPageClsid);
}

void RemoveClasses(RegistryFile& reg)
{
    reg.DeleteKey(platform::ClassKey(quvpad::kControlClsid));
    reg.DeleteKey(platform::ProgIdKey(quvpad::kControlProgId));
    reg.DeleteKey(platform::ClassKey(quvpad::kPropPageClsid));
    reg.DeleteKey(platform::ProgIdKey(quvpad::kPropPageProgId));
}

// One step: load the file, change it, write it back, holding the lock the
// IDEs hold while they merge their recent lists into the same file.
template <typename Change>
bool UpdateRegistry(Change change)
{
    const platform::FileLock lock(RegistryFile::UserPath(), platform::kMergeLockWait);
    if (lock.Error())
        return false;
    RegistryFile reg(RegistryFile::UserPath());
    if (!reg.Load())
        return false;
    change(reg);
    return reg.Save();
}

bool SameId(const char* a, const char* b) { return a && b && strcasecmp(a, b) == 0; }

} // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t DllRegisterServer()
{
    std::string library = LibraryPath();
    if (library.empty() || !UpdateRegistry([&](RegistryFile& reg) { WriteTypeLib(reg, library); }))
        return platform::kRegTypeLibFailed;
    if (!UpdateRegistry([&](RegistryFile& reg) { WriteClasses(reg, library); }))
        return platform::kRegClassFailed;
    return platform::kOk;
}

__attribute__((visibility("default"))) int32_t DllUnregisterServer()
{
    if (!UpdateRegistry(RemoveTypeLib))
        return platform::kRegTypeLibFailed;
    if (!UpdateRegistry(RemoveClasses))
        return platform::kRegClassFailed;
    return platform::kOk;
}

__attribute__((visibility("default"))) int32_t DllGetClassObject(const char* classId, const char* interfaceId,
                                                                 void** object)
{
    if (!object)
        return platform::kNoInterface;
    *object = nullptr;
    if (!SameId(classId, quvpad::kControlClsid))
        return platform::kClassNotAvailable;
    if (!SameId(interfaceId, quvpad::kDispatchIid))
        return platform::kNoInterface;
    *object = static_cast<quvpad::DQuvPad*>(new quvpad::CQuvPadCtrl);
    return platform::kOk;
}

__attribute__((visibility("default"))) int32_t DllCanUnloadNow()
{
    return quvpad::CQuvPadCtrl::LiveCount() == 0 ? 0 : 1;
}

} // extern "C"
