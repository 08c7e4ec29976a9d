#pragma once

#include <cstddef>
#include <new>

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
// pieces over LargestPiece bytes, and those aligned to more than 8, come
// from the heap. The game's thread only (debug builds check it); blocks are
// kept for the life of the process. AddressSanitizer sees the pieces not in
// use as poisoned.
class SceneArena
{
public:
    static constexpr std::size_t LargestPiece = 256;
    static constexpr std::size_t PieceAlignment = 8;

    static void* Allocate(ScenePiece kind, std::size_t bytes);
    static void Free(ScenePiece kind, void* piece, std::size_t bytes);
    static void* Allocate(ScenePiece kind, std::size_t bytes, std::align_val_t alignment);
    static void Free(ScenePiece kind, void* piece, std::size_t bytes, std::align_val_t alignment);

    // Where the pools' blocks come from: by default the heap, each block
    // aligned as asked. The platform's layer may name another source (one
    // that asks for the processor's large pages, say) before the scene
    // exists. A source returns memory for the life of the process, or
    // throws std::bad_alloc.
    using BlockSource = void* (*)(std::size_t bytes, std::size_t alignment);
    static void SetBlockSource(BlockSource source);

    // Pooled pieces allocated and not yet freed: zero again once a scene is
    // deleted, whatever it held.
    static std::size_t PiecesInUse();
};
