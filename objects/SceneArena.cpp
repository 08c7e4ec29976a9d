#include "objects/SceneArena.h"

#include <new>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#else
#define ASAN_POISON_MEMORY_REGION(address, bytes) ((void)(address), (void)(bytes))
#define ASAN_UNPOISON_MEMORY_REGION(address, bytes) ((void)(address), (void)(bytes))
#endif

namespace
{
const std::size_t Grain = 8;
const std::size_t BlockBytes = 1 << 20;

// A freed piece holds the link to the next free piece of its pool.
struct FreePiece
{
    FreePiece* next;
};

struct Pool
{
    FreePiece* freePieces = nullptr;
    char* blockNext = nullptr; // the unused rest of the pool's newest block
    std::size_t blockLeft = 0;
};

const std::size_t PoolsPerKind = SceneArena::LargestPiece / Grain + 1;
Pool objectPools[PoolsPerKind];
Pool listPools[PoolsPerKind];

std::size_t piecesInUse = 0;

// Pieces that are not in use are poisoned for AddressSanitizer, so that it
// reports a read of a freed object as it would on the heap.
void* Take(Pool* pools, std::size_t bytes)
{
    if (bytes > SceneArena::LargestPiece)
        return ::operator new(bytes);
    const std::size_t size = (bytes + Grain - 1) / Grain;
    Pool& pool = pools[size];
    ++piecesInUse;
    if (FreePiece* piece = pool.freePieces)
    {
        ASAN_UNPOISON_MEMORY_REGION(piece, size * Grain);
        pool.freePieces = piece->next;
        return piece;
    }
    if (pool.blockLeft < size * Grain)
    {
        pool.blockNext = static_cast<char*>(::operator new(BlockBytes, std::align_val_t(64)));
        pool.blockLeft = BlockBytes;
        ASAN_POISON_MEMORY_REGION(pool.blockNext, BlockBytes);
    }
    void* piece = pool.blockNext;
    ASAN_UNPOISON_MEMORY_REGION(piece, size * Grain);
    pool.blockNext += size * Grain;
    pool.blockLeft -= size * Grain;
    return piece;
}

void Give(Pool* pools, void* piece, std::size_t bytes)
{
    if (!piece)
        return;
    if (bytes > SceneArena::LargestPiece)
    {
        ::operator delete(piece);
        return;
    }
    const std::size_t size = (bytes + Grain - 1) / Grain;
    Pool& pool = pools[size];
    pool.freePieces = new (piece) FreePiece{pool.freePieces};
    ASAN_POISON_MEMORY_REGION(piece, size * Grain);
    --piecesInUse;
}
} // namespace

void* SceneArena::Allocate(std::size_t bytes)
{
    return Take(objectPools, bytes);
}

void SceneArena::Free(void* piece, std::size_t bytes)
{
    Give(objectPools, piece, bytes);
}

void* SceneArena::AllocateList(std::size_t bytes)
{
    return Take(listPools, bytes);
}

void SceneArena::FreeList(void* piece, std::size_t bytes)
{
    Give(listPools, piece, bytes);
}

std::size_t SceneArena::PiecesInUse()
{
    return piecesInUse;
}
