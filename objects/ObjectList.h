#pragma once

#include "objects/SceneArena.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>

// An ordered growable list of pointers for the scene's objects, in one word.
// The word is empty, or holds the list's only item itself, or is the address
// of a block on the scene's arena with the length, the capacity and the items
// (the address with its low bit set; items are never odd addresses, an odd or
// null item goes to a block). Most objects have no children and one
// behaviour: those lists take no piece of their own and no load beyond the
// object, and a game object takes 56 bytes. The frame's walks read every
// object of a large scene three times a frame, from memory, so its size is
// their cost.
template <typename T> class ObjectList
{
    static_assert(std::is_pointer<T>::value, "the scene's lists hold pointers");

public:
    ObjectList() = default;
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;
    ~ObjectList()
    {
        if (IsBlock())
            SceneArena::Free(ScenePiece::List, Header(), BlockBytes(Header()->capacity));
    }

    std::size_t size() const { return IsBlock() ? Header()->count : Bits() != 0; }
    bool empty() const { return size() == 0; }

    T& operator[](std::size_t i)
    {
        assert(i < size());
        return begin()[i];
    }
    const T& operator[](std::size_t i) const
    {
        assert(i < size());
        return begin()[i];
    }
    T& at(std::size_t i)
    {
        if (i >= size())
            throw std::out_of_range("ObjectList::at");
        return begin()[i];
    }

    T* begin() { return IsBlock() ? Items() : &word; }
    T* end() { return begin() + size(); }
    const T* begin() const { return IsBlock() ? Items() : &word; }
    const T* end() const { return begin() + size(); }
    T& front() { return (*this)[0]; }
    T& back() { return (*this)[size() - 1]; }

    void push_back(T item)
    {
        const uintptr_t itemBits = reinterpret_cast<uintptr_t>(item);
        if (Bits() == 0 && itemBits != 0 && (itemBits & 1) == 0)
        {
            word = item;
            return;
        }
        if (!IsBlock() || Header()->count == Header()->capacity)
            Grow();
        BlockHeader* header = Header();
        Items()[header->count++] = item;
    }
    void pop_back()
    {
        assert(!empty());
        if (IsBlock())
            --Header()->count;
        else
            word = nullptr;
    }

    // Removes [first, last), keeping the order of the rest; returns the
    // position after the removed ones.
    T* erase(T* first, T* last)
    {
        assert(begin() <= first && first <= last && last <= end());
        if (first == last)
            return first;
        if (!IsBlock())
        {
            word = nullptr; // the only item
            return first;
        }
        std::memmove(first, last, static_cast<std::size_t>(end() - last) * sizeof(T));
        Header()->count -= static_cast<uint32_t>(last - first);
        return first;
    }
    T* erase(T* position) { return erase(position, position + 1); }

private:
    struct BlockHeader
    {
        uint32_t count;
        uint32_t capacity;
    };
    static_assert(sizeof(BlockHeader) % alignof(T) == 0, "the items follow the header");

    static std::size_t BlockBytes(uint32_t capacity)
    {
        return sizeof(BlockHeader) + capacity * sizeof(T);
    }
    uintptr_t Bits() const { return reinterpret_cast<uintptr_t>(word); }
    bool IsBlock() const { return Bits() & 1; }
    BlockHeader* Header() const { return reinterpret_cast<BlockHeader*>(Bits() & ~uintptr_t(1)); }
    T* Items() const { return reinterpret_cast<T*>(Header() + 1); }

    // Moves the items to a block twice the size (two for a list not yet in
    // one), on the arena.
    void Grow()
    {
        const std::size_t count = size();
        const uint32_t capacity = IsBlock() ? Header()->capacity : 1;
        if (capacity > UINT32_MAX / 2 || 2 * std::size_t(capacity) > SIZE_MAX / 2 / sizeof(T))
            throw std::bad_alloc();
        const uint32_t grown = capacity * 2;
        auto* bigger =
            static_cast<BlockHeader*>(SceneArena::Allocate(ScenePiece::List, BlockBytes(grown)));
        bigger->count = static_cast<uint32_t>(count);
        bigger->capacity = grown;
        if (count)
            std::memcpy(reinterpret_cast<T*>(bigger + 1), begin(), count * sizeof(T));
        if (IsBlock())
            SceneArena::Free(ScenePiece::List, Header(), BlockBytes(capacity));
        word = reinterpret_cast<T>(reinterpret_cast<uintptr_t>(bigger) | 1);
    }

    T word = nullptr;
};
