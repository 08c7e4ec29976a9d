#pragma once

#include <cstddef>

// Memory for the scene's arena (its block source): from the heap, aligned
// as asked, and blocks of the processor's large-page size (2 MiB) offered to
// the system to be backed by large pages, so that the frame's walks over
// large scenes miss the address cache less.
void* LargePageBlock(std::size_t bytes, std::size_t alignment);
