// The block pool of the front end's tree nodes and tokens, driven by random
// allocations and frees from fixed seeds and compared after every step with a
// plain model (a map of the live objects and what each holds): no two live
// objects share a byte, every block is aligned, and an object keeps what it
// holds whatever else is made or freed, on this thread or another. The
// sanitizer builds let the general allocator do the pool's work, so this file
// is built without the address sanitizer: the pool itself is what runs here.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "compiler/core/object_pool.hpp"

namespace {

struct Pooled : PoolAllocated<Pooled> {
    explicit Pooled(std::uint64_t id) : id(id) { std::memset(payload, static_cast<int>(id & 0xFF), sizeof payload); }
    virtual ~Pooled() = default;
    bool intact() const
    {
        for (unsigned char c : payload)
            if (c != (id & 0xFF))
                return false;
        return true;
    }
    std::uint64_t id;
    unsigned char payload[37];
};

// Larger than a block: the general allocator takes it.
struct Larger : Pooled {
    explicit Larger(std::uint64_t id) : Pooled(id) { std::memset(more, 0x5A, sizeof more); }
    unsigned char more[64];
};

class Model {
public:
    void make(std::mt19937& random)
    {
        const std::uint64_t id = next++;
        Pooled* object = random() % 5 == 0 ? new Larger(id) : new Pooled(id);
        const auto address = reinterpret_cast<std::uintptr_t>(object);
        ASSERT_EQ(address % alignof(std::max_align_t), 0u);
        live[address] = {object, id};
    }
    void free(std::mt19937& random)
    {
        if (live.empty())
            return;
        auto it = live.begin();
        std::advance(it, random() % live.size());
        delete it->second.object;
        live.erase(it);
    }
    // Every live object still holds its own id and bytes, and none overlaps the next.
    void check() const
    {
        std::uintptr_t end = 0;
        for (const auto& [address, entry] : live) {
            ASSERT_GE(address, end) << "object " << entry.id << " overlaps the one before";
            ASSERT_EQ(entry.object->id, entry.id);
            ASSERT_TRUE(entry.object->intact()) << "object " << entry.id;
            end = address + (dynamic_cast<Larger*>(entry.object) ? sizeof(Larger) : sizeof(Pooled));
        }
    }
    void clear()
    {
        for (auto& [address, entry] : live)
            delete entry.object;
        live.clear();
    }
    size_t size() const { return live.size(); }

private:
    struct Entry {
        Pooled* object;
        std::uint64_t id;
    };
    std::map<std::uintptr_t, Entry> live;
    std::uint64_t next = 1;
};

TEST(ObjectPoolStore, LiveObjectsNeverShareABlockAndKeepWhatTheyHold)
{
    // The pool, not the general allocator, is what runs: a freed block is the next one made.
    Pooled* first = new Pooled(1);
    const auto freed = reinterpret_cast<std::uintptr_t>(first);
    delete first;
    Pooled* second = new Pooled(2);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(second), freed);
    delete second;

    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        Model model;
        // Runs past several chunks of blocks, freeing in bursts so that
        // blocks are reused in every order.
        for (int step = 0; step < 6000; ++step) {
            if (random() % 100 < (step % 2000 < 1200 ? 70u : 30u))
                model.make(random);
            else
                model.free(random);
            if (step % 97 == 0)
                model.check();
        }
        model.check();
        // Freed on another thread: the blocks join that thread's list, which
        // hands them out again there.
        std::thread other([&model, seed] {
            std::mt19937 there(seed + 1000);
            for (int step = 0; step < 3000; ++step) {
                if (there() % 2)
                    model.make(there);
                else
                    model.free(there);
            }
            model.check();
        });
        other.join();
        model.check();
        model.clear();
    }
}

} // namespace
