// Owners for the heap objects the walker's rules pass between each other
// (operator expressions, statements, equations, conditions). A rule keeps what
// a sub-rule returned in one of these, so that a recognition error or an
// internal failure between the sub-rule and the emitter frees it.
#pragma once
#include <memory>
#include <vector>

#include "compiler/codegen/codegen.hpp"

// One object; assigning a new one frees the old. The generated rules assign
// sub-rule results with "x = rule(...)", hence the assignment from a raw pointer.
template <typename T>
class Owned {
public:
    Owned& operator=(T* p)
    {
        object.reset(p);
        return *this;
    }
    T* get() const { return object.get(); }
    T* operator->() const { return object.get(); }
    T* release() { return object.release(); }
    explicit operator bool() const { return static_cast<bool>(object); }

private:
    std::unique_ptr<T> object;
};

// Objects in source order. What failed (null) is left out: the emitters only
// ever see objects that were built.
template <typename T>
class OwnedList {
public:
    void add(T* p)
    {
        if (p)
            objects.emplace_back(p);
    }
    void append(OwnedList& other)
    {
        for (auto& p : other.objects)
            objects.push_back(std::move(p));
        other.objects.clear();
    }
    std::vector<T*> items() const
    {
        std::vector<T*> out;
        for (const auto& p : objects)
            out.push_back(p.get());
        return out;
    }
    // Hands the objects over to a new owner (an emitter that takes them).
    std::vector<T*> release()
    {
        std::vector<T*> out;
        for (auto& p : objects)
            out.push_back(p.release());
        objects.clear();
        return out;
    }
    std::size_t size() const { return objects.size(); }

private:
    std::vector<std::unique_ptr<T>> objects;
};

// The process starts of a parallel statement. A start keeps pointers to its
// actual parameters without owning them; both go together here, the actuals
// first, once the statement's emitter has run.
class OwnedStarts {
public:
    OwnedStarts() = default;
    OwnedStarts(const OwnedStarts&) = delete;
    OwnedStarts& operator=(const OwnedStarts&) = delete;
    ~OwnedStarts()
    {
        for (ProcessStart* start : starts) {
            for (ActualParam* actual : start->getActuals())
                delete actual;
            delete start;
        }
    }
    void add(ProcessStart* start)
    {
        if (start)
            starts.push_back(start);
    }
    const std::vector<ProcessStart*>& items() const { return starts; }

private:
    std::vector<ProcessStart*> starts;
};
