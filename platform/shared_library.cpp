#include "platform/shared_library.hpp"

#include <dlfcn.h>
#include <utility>

namespace platform {

SharedLibrary::~SharedLibrary()
{
    if (handle_)
        dlclose(handle_);
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept
{
    if (this != &other) {
        if (handle_)
            dlclose(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

bool SharedLibrary::Open(const std::string& path, std::string& error)
{
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* e = dlerror();
        error = e ? e : "cannot load " + path;
        return false;
    }
    if (handle_)
        dlclose(handle_);
    handle_ = h;
    return true;
}

void* SharedLibrary::Symbol(const char* name) const
{
    return handle_ ? dlsym(handle_, name) : nullptr;
}

std::string ModulePathOf(const void* address)
{
    Dl_info info{};
    if (dladdr(address, &info) == 0 || !info.dli_fname)
        return std::string();
    return info.dli_fname;
}

} // namespace platform
