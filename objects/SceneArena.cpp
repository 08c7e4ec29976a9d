#include "objects/SceneArena.h"

#include <algorithm>
#include <new>
#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#else
#define ASAN_POISON_MEMORY_REGION(address, bytes) ((void)(address), (void)(bytes))
#define ASAN_UNPOISON_MEMORY_REGION(address, bytes) ((void)(address), (void)(bytes))
#endif

namespace
{
const std::size_t Grain = 8;
// A pool's blocks double from FirstBlockBytes up to HugeBlockBytes: a small
// scene takes little memory, and a large one lies in blocks the size of the
// processor's large pages, which the system is asked to back with them, so
// that the walks over thousands of objects do not miss the address cache on
// every small page.
const std::size_t FirstBlockBytes = 64 << 10;
const std::size_t HugeBlockBytes = 2 << 20;

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
    std::size_t nextBlockBytes = FirstBlockBytes;
};

const std::size_t PoolsPerKind = SceneArena::LargestPiece / Grain + 1;
Pool pools[3][PoolsPerKind]; // by ScenePiece

std::size_t piecesInUse = 0;

// Every block begins with a link to the block made before it, so that the
// newest one reaches them all (leak checkers look for the blocks' starts).
const std::size_t BlockHeader = 64;
void* newestBlock = nullptr;

// Pieces that are not in use are poisoned for AddressSanitizer, so that it
// reports a read of a freed object as it would on the heap.
void* Take(Pool* kindPools, std::size_t bytes)
{
    if (bytes > SceneArena::LargestPiece)
        return ::operator new(bytes);
    // Every piece holds at least the free list's link.
    const std::size_t size = std::max<std::size_t>((bytes + Grain - 1) / Grain, 1);
    Pool& pool = kindPools[size];
    if (FreePiece* piece = pool.freePieces)
    {
        ASAN_UNPOISON_MEMORY_REGION(piece, size * Grain);
        pool.freePieces = piece->next;
        ++piecesInUse;
        return piece;
    }
    if (pool.blockLeft < size * Grain)
    {
        const std::size_t blockBytes = pool.nextBlockBytes;
        pool.blockNext = static_cast<char*>(::operator new(
            blockBytes, std::align_val_t(blockBytes == HugeBlockBytes ? HugeBlockBytes : 64)));
        if (blockBytes == HugeBlockBytes)
            madvise(pool.blockNext, blockBytes, MADV_HUGEPAGE);
        *reinterpret_cast<void**>(pool.blockNext) = newestBlock;
        newestBlock = pool.blockNext;
        pool.blockNext += BlockHeader;
        pool.blockLeft = blockBytes - BlockHeader;
        pool.nextBlockBytes = std::min(2 * blockBytes, HugeBlockBytes);
        ASAN_POISON_MEMORY_REGION(pool.blockNext, pool.blockLeft);
    }
    void* piece = pool.blockNext;
    ASAN_UNPOISON_MEMORY_REGION(piece, size * Grain);
    pool.blockNext += size * Grain;
    pool.blockLeft -= size * Grain;
    ++piecesInUse;
    return piece;
}

void Give(Pool* kindPools, void* piece, std::size_t bytes)
{
    if (!piece)
        return;
    if (bytes > SceneArena::LargestPiece)
    {
        ::operator delete(piece);
        return;
    }
    const std::size_t size = std::max<std::size_t>((bytes + Grain - 1) / Grain, 1);
    Pool& pool = kindPools[size];
    pool.freePieces = new (piece) FreePiece{pool.freePieces};
    ASAN_POISON_MEMORY_REGION(piece, size * Grain);
    --piecesInUse;
}
} // namespace

void* SceneArena::Allocate(ScenePiece kind, std::size_t bytes)
{
    return Take(pools[static_cast<int>(kind)], bytes);
}

void SceneArena::Free(ScenePiece kind, void* piece, std::size_t bytes)
{
    Give(pools[static_cast<int>(kind)], piece, bytes);
}

std::size_t SceneArena::PiecesInUse()
{
    return piecesInUse;
}
