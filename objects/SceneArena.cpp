#include "objects/SceneArena.h"

#include "objects/AddressSanitizer.h"

#include <algorithm>
#include <cassert>
#include <new>
#include <thread>

namespace
{
const std::size_t Grain = SceneArena::PieceAlignment;
// A pool's blocks double from FirstBlockBytes up to HugeBlockBytes: a small
// scene takes little memory, and a large one lies in blocks the size of the
// processor's large pages, aligned to it, which the block source may ask the
// system to back with them, so that the walks over thousands of objects do
// not miss the address cache on every small page.
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

void* HeapBlock(std::size_t bytes, std::size_t alignment)
{
    return ::operator new(bytes, std::align_val_t(alignment));
}
SceneArena::BlockSource blockSource = HeapBlock;

// The one thread that uses the scene's memory (checked in debug builds).
[[maybe_unused]] bool OnTheSceneThread()
{
    static const std::thread::id sceneThread = std::this_thread::get_id();
    return std::this_thread::get_id() == sceneThread;
}

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
        UnpoisonMemory(piece, size * Grain);
        pool.freePieces = piece->next;
        ++piecesInUse;
        return piece;
    }
    if (pool.blockLeft < size * Grain)
    {
        const std::size_t blockBytes = pool.nextBlockBytes;
        pool.blockNext = static_cast<char*>(
            blockSource(blockBytes, blockBytes == HugeBlockBytes ? HugeBlockBytes : 64));
        *reinterpret_cast<void**>(pool.blockNext) = newestBlock;
        newestBlock = pool.blockNext;
        pool.blockNext += BlockHeader;
        pool.blockLeft = blockBytes - BlockHeader;
        pool.nextBlockBytes = std::min(2 * blockBytes, HugeBlockBytes);
        PoisonMemory(pool.blockNext, pool.blockLeft);
    }
    void* piece = pool.blockNext;
    UnpoisonMemory(piece, size * Grain);
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
    PoisonMemory(piece, size * Grain);
    --piecesInUse;
}
} // namespace

void* SceneArena::Allocate(ScenePiece kind, std::size_t bytes)
{
    assert(OnTheSceneThread() && "the scene's memory is used from the game's thread only");
    return Take(pools[static_cast<int>(kind)], bytes);
}

void SceneArena::Free(ScenePiece kind, void* piece, std::size_t bytes)
{
    assert(OnTheSceneThread() && "the scene's memory is used from the game's thread only");
    Give(pools[static_cast<int>(kind)], piece, bytes);
}

void* SceneArena::Allocate(ScenePiece kind, std::size_t bytes, std::align_val_t alignment)
{
    if (static_cast<std::size_t>(alignment) <= PieceAlignment)
        return Allocate(kind, bytes);
    return ::operator new(bytes, alignment);
}

void SceneArena::Free(ScenePiece kind, void* piece, std::size_t bytes, std::align_val_t alignment)
{
    if (static_cast<std::size_t>(alignment) <= PieceAlignment)
        Free(kind, piece, bytes);
    else
        ::operator delete(piece, alignment);
}

void SceneArena::SetBlockSource(BlockSource source)
{
    blockSource = source ? source : HeapBlock;
}

std::size_t SceneArena::PiecesInUse()
{
    return piecesInUse;
}
