#pragma once

#include <cstddef>

// What a piece of the scene's memory holds.
enum class ScenePiece
{
    Object,    // a game object
    Component, // a component or behaviour
    List,      // the items of an object's list
};

// The memory of the scene's objects: game objects, their components and
// their lists. Each kind and size of piece has its own pool, carved from
// large blocks in the order the pieces are made: the pieces of one kind and
// size lie side by side, so that each of the frame's walks
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

    static void* Allocate(ScenePiece kind, std::size_t bytes);
    static void Free(ScenePiece kind, void* piece, std::size_t bytes);

    // Pooled pieces allocated and not yet freed: zero again once a scene is
    // deleted, whatever it held.
    static std::size_t PiecesInUse();
};
