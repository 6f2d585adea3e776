// Fixed-size blocks for the small objects the front end makes by the million
// (tree nodes, tokens): a class that derives from PoolAllocated<Self> takes
// its storage from free lists instead of the general allocator. Blocks are
// reused, never returned: the chunks stay reachable from one global list, so
// leak checkers see no leak. Each thread keeps its own free list; a block
// freed on another thread joins that thread's list. Under AddressSanitizer the
// general allocator is used, so its checks still see every object.
#pragma once
#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define QUV_POOL_DISABLED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUV_POOL_DISABLED 1
#endif
#endif

template <class T>
class PoolAllocated {
public:
    static void* operator new(std::size_t size)
    {
#ifndef QUV_POOL_DISABLED
        if (size == sizeof(T)) {
            FreeBlock*& head = freeList();
            if (!head) refill(head);
            FreeBlock* block = head;
            head = block->next;
            return block;
        }
#endif
        return ::operator new(size);
    }

    static void operator delete(void* pointer, std::size_t size)
    {
        if (!pointer) return;
#ifndef QUV_POOL_DISABLED
        if (size == sizeof(T)) {
            FreeBlock*& head = freeList();
            FreeBlock* block = static_cast<FreeBlock*>(pointer);
            block->next = head;
            head = block;
            return;
        }
#endif
        ::operator delete(pointer, size);
    }

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    static constexpr std::size_t blockSize =
        (sizeof(T) + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) * alignof(std::max_align_t);
    static constexpr std::size_t blocksPerChunk = 1024;

    static FreeBlock*& freeList()
    {
        thread_local FreeBlock* head = nullptr;
        return head;
    }

    // A new chunk, threaded onto the free list and kept in the global list.
    static void refill(FreeBlock*& head)
    {
        char* chunk = static_cast<char*>(::operator new(blockSize * blocksPerChunk));
        {
            static std::mutex* guard = new std::mutex;
            static std::vector<char*>* chunks = new std::vector<char*>;
            std::lock_guard<std::mutex> lock(*guard);
            chunks->push_back(chunk);
        }
        for (std::size_t i = blocksPerChunk; i-- > 0;) {
            FreeBlock* block = reinterpret_cast<FreeBlock*>(chunk + i * blockSize);
            block->next = head;
            head = block;
        }
    }
};
