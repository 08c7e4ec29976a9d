#pragma once

#include <cstddef>

// The memory of the scene's objects: game objects, their components and
// their lists. Each size of piece has its own pool, and the lists pools of
// their own, carved from large blocks in the order the pieces are made: the
// objects of one kind lie side by side, so that each of the frame's walks
// over the tree streams through the few pools it reads instead of chasing
// pointers across the heap or reading past fields it does not need. A freed
// piece serves the next piece of its pool. Pieces are aligned to 8 bytes;
// pieces over LargestPiece bytes come from the heap. The game's thread only;
// blocks are kept for the life of the process. AddressSanitizer sees the
// pieces not in use as poisoned.
class SceneArena
{
public:
    static constexpr std::size_t LargestPiece = 256;

    static void* Allocate(std::size_t bytes);
    static void Free(void* piece, std::size_t bytes);

    // The items of the objects' lists.
    static void* AllocateList(std::size_t bytes);
    static void FreeList(void* piece, std::size_t bytes);

    // Pooled pieces allocated and not yet freed: zero again once a scene is
    // deleted, whatever it held.
    static std::size_t PiecesInUse();
};
