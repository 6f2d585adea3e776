// Creatable classes recorded in the user's registry file: a class id (a GUID in
// braces) names a class, a ProgID is a readable alias for one, and the class's
// library is the shared library that makes its objects.
//
// A library exports
//   extern "C" int32_t DllGetClassObject(const char* classId, const char* interfaceId, void** object);
// which answers 0 with a new object for a class and interface it knows.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Result codes of the class entry points, as COM has them.
constexpr int32_t kOk = 0;
constexpr int32_t kClassNotAvailable = static_cast<int32_t>(0x80040111);
constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002);
constexpr int32_t kRegTypeLibFailed = static_cast<int32_t>(0x80040200);   // SELFREG_E_TYPELIB
constexpr int32_t kRegClassFailed = static_cast<int32_t>(0x80040201);     // SELFREG_E_CLASS

struct ClassLocation {
    std::string classId;
    std::string libraryPath;
};

// Resolves a class id or a ProgID through the registry file.
std::optional<ClassLocation> FindClass(const std::string& registryPath, const std::string& classIdOrProgId);

// Resolves the class, loads its library (kept loaded for the rest of the
// process) and asks it for an object with the interface. Null on any failure,
// with `error` saying why.
void* CreateObject(const std::string& registryPath, const std::string& classIdOrProgId,
                   const std::string& interfaceId, std::string& error);

// The registry keys of a class, under the user's class root.
std::string ClassKey(const std::string& classId);
std::string ProgIdKey(const std::string& progId);
std::string TypeLibKey(const std::string& libId);
std::string InterfaceKey(const std::string& interfaceId);

} // namespace platform
