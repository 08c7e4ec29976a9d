#include "shell/platform/LargePages.h"

#include <new>
#include <sys/mman.h>

void* LargePageBlock(std::size_t bytes, std::size_t alignment)
{
    const std::size_t LargePageBytes = 2 << 20;
    void* block = ::operator new(bytes, std::align_val_t(alignment));
    if (bytes % LargePageBytes == 0 && alignment % LargePageBytes == 0)
        madvise(block, bytes, MADV_HUGEPAGE); // advice only: its failure changes nothing
    return block;
}
