#pragma once

#include <cstddef>

// The memory of the scene's objects: game objects, their components and
// their small lists are carved from large blocks in the order they are made,
// so that the frame's walks over the tree stream through memory instead of
// chasing pointers across the heap. The memory of a freed piece serves the
// next piece of its size. Pieces over LargestPiece bytes come from the heap.
// The game's thread only; blocks are kept for the life of the process. Under
// AddressSanitizer every piece comes from the heap, so that the sanitizer
// sees each one.
class SceneArena
{
public:
    static constexpr std::size_t LargestPiece = 256;

    static void* Allocate(std::size_t bytes);
    static void Free(void* piece, std::size_t bytes);
};

// A standard allocator on the scene's arena, for the objects' lists.
template <typename T> struct SceneAllocator
{
    using value_type = T;

    SceneAllocator() = default;
    template <typename U> SceneAllocator(const SceneAllocator<U>&) {}

    T* allocate(std::size_t count)
    {
        return static_cast<T*>(SceneArena::Allocate(count * sizeof(T)));
    }
    void deallocate(T* piece, std::size_t count) { SceneArena::Free(piece, count * sizeof(T)); }

    template <typename U> bool operator==(const SceneAllocator<U>&) const { return true; }
    template <typename U> bool operator!=(const SceneAllocator<U>&) const { return false; }
};
