#pragma once

#include "objects/SceneArena.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>

// An ordered growable list of pointers for the scene's objects: a vector in
// 16 bytes (items, length, capacity), its items on the scene's arena. The
// lists sit in every object the frame's walks read, so they are kept small.
template <typename T> class ObjectList
{
    static_assert(std::is_pointer<T>::value, "the scene's lists hold pointers");

public:
    ObjectList() = default;
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;
    ~ObjectList() { SceneArena::Free(ScenePiece::List, items, capacity * sizeof(T)); }

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }

    T& operator[](std::size_t i)
    {
        assert(i < count);
        return items[i];
    }
    const T& operator[](std::size_t i) const
    {
        assert(i < count);
        return items[i];
    }
    T& at(std::size_t i)
    {
        if (i >= count)
            throw std::out_of_range("ObjectList::at");
        return items[i];
    }

    T* begin() { return items; }
    T* end() { return items + count; }
    const T* begin() const { return items; }
    const T* end() const { return items + count; }
    T& front() { return (*this)[0]; }
    T& back() { return (*this)[count - 1]; }

    void push_back(T item)
    {
        if (count == capacity)
            Grow();
        items[count++] = item;
    }
    void pop_back()
    {
        assert(count > 0);
        --count;
    }

    // Removes [first, last), keeping the order of the rest; returns the
    // position after the removed ones.
    T* erase(T* first, T* last)
    {
        assert(begin() <= first && first <= last && last <= end());
        std::memmove(first, last, static_cast<std::size_t>(end() - last) * sizeof(T));
        count -= static_cast<uint32_t>(last - first);
        return first;
    }
    T* erase(T* position) { return erase(position, position + 1); }

private:
    void Grow()
    {
        if (capacity > UINT32_MAX / 2)
            throw std::bad_alloc();
        const uint32_t grown = capacity ? capacity * 2 : 1;
        T* bigger = static_cast<T*>(SceneArena::Allocate(ScenePiece::List, grown * sizeof(T)));
        if (count)
            std::memcpy(bigger, items, count * sizeof(T));
        SceneArena::Free(ScenePiece::List, items, capacity * sizeof(T));
        items = bigger;
        capacity = grown;
    }

    T* items = nullptr;
    uint32_t count = 0;
    uint32_t capacity = 0;
};
