#include "tests/ide/starved_memory.hpp"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> bound{0};
std::atomic<int> refused{0};

void* Take(std::size_t size)
{
    const std::size_t above = bound.load(std::memory_order_relaxed);
    if (above != 0 && size > above) {
        refused.fetch_add(1, std::memory_order_relaxed);
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void* TakeOrNull(std::size_t size) noexcept
{
    try {
        return Take(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

namespace ide::test {

void RefuseRequestsAbove(std::size_t bytes)
{
    refused = 0;
    bound = bytes;
}

int RefusedRequests() { return refused; }

} // namespace ide::test

// Every form that takes its memory from malloc is replaced, with the frees
// that match it; the aligned forms stay the library's, in pairs of their own.
void* operator new(std::size_t size) { return Take(size); }
void* operator new[](std::size_t size) { return Take(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return TakeOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return TakeOrNull(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
