// Loading shared libraries and finding their entry points.
#pragma once
#include <string>

namespace platform {

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;

    bool Open(const std::string& path, std::string& error);
    void* Symbol(const char* name) const;
    // Unloading is left to the process end: a library whose objects may still
    // live must stay loaded.
    void Leak() { handle_ = nullptr; }

private:
    void* handle_ = nullptr;
};

// The file of the loaded library (or program) that holds `address`.
std::string ModulePathOf(const void* address);

} // namespace platform
