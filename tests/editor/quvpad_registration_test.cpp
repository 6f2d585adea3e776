// Registration in the user's registry file, and creation through it by class
// id and by ProgID, as a host does it.
#include <climits>
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/class_registry.hpp"
#include "platform/registry_file.hpp"
#include "quvpad_host.hpp"

namespace quvpad::test {
namespace {

std::string RealPath(const std::string& path)
{
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : path;
}

TEST(QuvPadRegistration, ControlsAreCreatedThroughTheRegistryFileOnlyWhileRegistered)
{
    const TempFolder folder("quvpad-test-");
    std::string registry = folder / "registry";
    setenv("QUVBENCH_REGISTRY", registry.c_str(), 1);
    std::string error;
    EXPECT_EQ(platform::CreateObject(registry, kControlClsid, kDispatchIid, error), nullptr);

    ASSERT_EQ(DllRegisterServer(), platform::kOk);
    auto where = platform::FindClass(registry, kControlProgId);
    ASSERT_TRUE(where);
    EXPECT_EQ(where->classId, kControlClsid);
    EXPECT_EQ(RealPath(where->libraryPath), RealPath(QUVPAD_LIBRARY));

    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "host", wxPoint(0, 0), wxSize(300, 200));
    for (const char* name : {kControlClsid, kControlProgId}) {
        SCOPED_TRACE(name);
        auto* pad = static_cast<DQuvPad*>(platform::CreateObject(registry, name, kDispatchIid, error));
        ASSERT_NE(pad, nullptr) << error;
        EXPECT_EQ(pad->ClassId(), kControlClsid);
        EXPECT_EQ(DllCanUnloadNow(), 1);
        ASSERT_TRUE(pad->Create(frame, wxID_ANY, 0, 0, 300, 200));
        ASSERT_TRUE(pad->CreateEditor());
        pad->LoadText(L"made by name", 1, 1);
        EXPECT_EQ(pad->GetLine(0), L"made by name");
        pad->Release();
    }
    EXPECT_EQ(DllCanUnloadNow(), 0);
    // A class the library does not make, and an interface it does not have.
    EXPECT_EQ(platform::CreateObject(registry, kPropPageClsid, kDispatchIid, error), nullptr);
    EXPECT_EQ(platform::CreateObject(registry, kControlClsid, kEventsIid, error), nullptr);

    platform::RegistryFile reg(registry);
    ASSERT_TRUE(reg.Load());
    std::string cls = platform::ClassKey(kControlClsid);
    EXPECT_EQ(reg.GetValue(cls).value_or(""), "QuvPad Control");
    EXPECT_EQ(reg.GetValue(cls + "\\InprocServer32", "ThreadingModel").value_or(""), "Apartment");
    EXPECT_EQ(reg.GetValue(cls + "\\MiscStatus\\1").value_or(""), "131473");
    EXPECT_EQ(reg.GetValue(cls + "\\TypeLib").value_or(""), kLibId);
    EXPECT_EQ(reg.GetValue(platform::ClassKey(kPropPageClsid)).value_or(""), "QuvPad Property Page");
    EXPECT_FALSE(reg.GetValue(platform::ClassKey(kPropPageClsid) + "\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ(reg.GetValue(platform::TypeLibKey(kLibId) + "\\1.0").value_or(""), "QuvPad ActiveX Control module");
    // The control claims no safety for untrusted callers: FileSaveAs writes any path.
    for (const std::string& key : reg.Keys())
        EXPECT_EQ(key.find("Implemented Categories"), std::string::npos) << key;

    ASSERT_EQ(DllUnregisterServer(), platform::kOk);
    for (const char* name : {kControlClsid, kControlProgId})
        EXPECT_EQ(platform::CreateObject(registry, name, kDispatchIid, error), nullptr) << name;
    ASSERT_TRUE(reg.Load());
    EXPECT_TRUE(reg.Keys().empty());
    frame->Destroy();
    Host::Pump();
}

TEST(QuvPadRegistration, AFileThatCannotBeWrittenFailsTheFirstStep)
{
    const TempFolder folder("quvpad-test-");
    std::string blocker = WriteFile(folder / "file", "not a folder");
    setenv("QUVBENCH_REGISTRY", (blocker + "/registry").c_str(), 1);
    EXPECT_EQ(DllRegisterServer(), platform::kRegTypeLibFailed);
    EXPECT_EQ(DllUnregisterServer(), platform::kRegTypeLibFailed);
}

} // namespace
} // namespace quvpad::test
