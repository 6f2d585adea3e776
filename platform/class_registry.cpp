#include "platform/class_registry.hpp"

#include "platform/registry_file.hpp"
#include "platform/shared_library.hpp"

namespace platform {

namespace {
const char kClassRoot[] = "Software\\Classes\\";

bool LooksLikeClassId(const std::string& s)
{
    return s.size() == 38 && s.front() == '{' && s.back() == '}';
}
} // namespace

std::string ClassKey(const std::string& classId) { return std::string(kClassRoot) + "CLSID\\" + classId; }
std::string ProgIdKey(const std::string& progId) { return std::string(kClassRoot) + progId; }
std::string TypeLibKey(const std::string& libId) { return std::string(kClassRoot) + "TypeLib\\" + libId; }
std::string InterfaceKey(const std::string& interfaceId) { return std::string(kClassRoot) + "Interface\\" + interfaceId; }

std::optional<ClassLocation> FindClass(const std::string& registryPath, const std::string& classIdOrProgId)
{
    RegistryFile reg(registryPath);
    if (!reg.Load())
        return std::nullopt;
    std::string classId = classIdOrProgId;
    if (!LooksLikeClassId(classId)) {
        auto id = reg.GetValue(ProgIdKey(classIdOrProgId) + "\\CLSID");
        if (!id)
            return std::nullopt;
        classId = *id;
    }
    auto path = reg.GetValue(ClassKey(classId) + "\\InprocServer32");
    if (!path || path->empty())
        return std::nullopt;
    return ClassLocation{classId, *path};
}

void* CreateObject(const std::string& registryPath, const std::string& classIdOrProgId,
                   const std::string& interfaceId, std::string& error)
{
    auto where = FindClass(registryPath, classIdOrProgId);
    if (!where) {
        error = classIdOrProgId + " is not registered";
        return nullptr;
    }
    SharedLibrary lib;
    if (!lib.Open(where->libraryPath, error))
        return nullptr;
    using GetClassObject = int32_t (*)(const char*, const char*, void**);
    auto entry = reinterpret_cast<GetClassObject>(lib.Symbol("DllGetClassObject"));
    if (!entry) {
        error = where->libraryPath + " has no class entry point";
        return nullptr;
    }
    void* object = nullptr;
    int32_t hr = entry(where->classId.c_str(), interfaceId.c_str(), &object);
    if (hr != kOk || !object) {
        error = classIdOrProgId + " cannot be created";
        return nullptr;
    }
    // The object's code lives in the library.
    lib.Leak();
    return object;
}

} // namespace platform
