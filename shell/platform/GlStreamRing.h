#pragma once

#include "shell/DrawingBackEnd.h"

#include <cstddef>

struct GlFunctions;
struct __GLsync;

// The sprites' rectangles on their way to the GPU: one buffer of three
// regions, each holding the largest frame so far. A frame's rectangles are
// one sequential write into the next region, never read back (the memory may
// be write-combined, or across the bus), flushed explicitly; a region is
// written again only once the fence set after the draws that read it has
// passed, however long that takes. The buffer stays bound as the array
// buffer the draws read.
class GlStreamRing
{
public:
    // Makes and binds the buffer.
    explicit GlStreamRing(GlFunctions* gl);
    GlStreamRing(const GlStreamRing&) = delete;
    GlStreamRing& operator=(const GlStreamRing&) = delete;
    ~GlStreamRing();

    // The next region, mapped for count rectangles to be written; null when
    // the GL has no memory for them (the frame is then skipped).
    SpriteRect* Map(std::size_t count);
    // Ends the write of the region mapped last; false when its storage was
    // lost meanwhile and what it holds is undefined.
    bool Unmap(std::size_t count);
    // Where the region mapped last starts in the buffer, in bytes.
    std::size_t RegionOffset() const { return region * regionBytes; }
    // Set once the frame's draws from the region are issued.
    void Fence();

private:
    void WaitForRegion(std::size_t which);
    void DeleteFences();

    GlFunctions* const gl;
    unsigned buffer = 0;
    std::size_t regionBytes = 0; // the size of each
    std::size_t region = 0;      // the one written last
    __GLsync* fences[3] = {};    // the GPU is done with a region once its fence is
};
