#include "objects/SceneArena.h"

#include <new>

namespace
{
const std::size_t Grain = 16;
const std::size_t BlockBytes = 1 << 20;

// A freed piece holds the link to the next free piece of its size.
struct FreePiece
{
    FreePiece* next;
};

FreePiece* freePieces[SceneArena::LargestPiece / Grain + 1] = {};
char* blockNext = nullptr; // the unused rest of the newest block
std::size_t blockLeft = 0;

#if defined(__SANITIZE_ADDRESS__)
const bool Pooled = false;
#else
const bool Pooled = true;
#endif
} // namespace

void* SceneArena::Allocate(std::size_t bytes)
{
    if (!Pooled || bytes > LargestPiece)
        return ::operator new(bytes);
    const std::size_t size = (bytes + Grain - 1) / Grain;
    if (FreePiece* piece = freePieces[size])
    {
        freePieces[size] = piece->next;
        return piece;
    }
    if (blockLeft < size * Grain)
    {
        blockNext = static_cast<char*>(::operator new(BlockBytes, std::align_val_t(Grain)));
        blockLeft = BlockBytes;
    }
    void* piece = blockNext;
    blockNext += size * Grain;
    blockLeft -= size * Grain;
    return piece;
}

void SceneArena::Free(void* piece, std::size_t bytes)
{
    if (!piece)
        return;
    if (!Pooled || bytes > LargestPiece)
    {
        ::operator delete(piece);
        return;
    }
    const std::size_t size = (bytes + Grain - 1) / Grain;
    freePieces[size] = new (piece) FreePiece{freePieces[size]};
}
