#include "shell/platform/GlStreamRing.h"

#include "shell/platform/GlFunctions.h"

GlStreamRing::GlStreamRing(GlFunctions* gl) : gl(gl)
{
    gl->GenBuffers(1, &buffer);
    gl->BindBuffer(GL_ARRAY_BUFFER, buffer);
}

GlStreamRing::~GlStreamRing()
{
    DeleteFences();
    gl->DeleteBuffers(1, &buffer);
}

void GlStreamRing::DeleteFences()
{
    for (GLsync& fence : fences)
    {
        if (fence)
            gl->DeleteSync(fence);
        fence = nullptr;
    }
}

SpriteRect* GlStreamRing::Map(std::size_t count)
{
    // A frame larger than the regions makes the buffer anew; the GPU keeps
    // the old storage while it reads it.
    const std::size_t bytes = count * sizeof(SpriteRect);
    if (bytes > regionBytes)
    {
        DeleteFences();
        regionBytes = (bytes + bytes / 2 + 255) & ~std::size_t(255);
        TakeGlErrors(gl);
        gl->BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(3 * regionBytes), nullptr,
                       GL_STREAM_DRAW);
        if (TakeGlErrors(gl) != GL_NO_ERROR)
        {
            regionBytes = 0;
            return nullptr;
        }
    }
    region = (region + 1) % 3;
    WaitForRegion(region);
    return static_cast<SpriteRect*>(gl->MapBufferRange(
        GL_ARRAY_BUFFER, static_cast<GLintptr>(RegionOffset()), static_cast<GLsizeiptr>(bytes),
        GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT |
            GL_MAP_FLUSH_EXPLICIT_BIT));
}

bool GlStreamRing::Unmap(std::size_t count)
{
    gl->FlushMappedBufferRange(GL_ARRAY_BUFFER, 0,
                               static_cast<GLsizeiptr>(count * sizeof(SpriteRect)));
    return gl->UnmapBuffer(GL_ARRAY_BUFFER) == GL_TRUE;
}

void GlStreamRing::Fence()
{
    fences[region] = gl->FenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
}

void GlStreamRing::WaitForRegion(std::size_t which)
{
    GLsync fence = fences[which];
    if (!fence)
        return;
    GLbitfield flags = GL_SYNC_FLUSH_COMMANDS_BIT;
    for (;;)
    {
        const GLenum status = gl->ClientWaitSync(fence, flags, GLuint64(100000000));
        if (status == GL_ALREADY_SIGNALED || status == GL_CONDITION_SATISFIED)
            break;
        if (status != GL_TIMEOUT_EXPIRED)
        {
            gl->Finish(); // the wait failed: everything before is done after this
            break;
        }
        flags = 0;
    }
    gl->DeleteSync(fence);
    fences[which] = nullptr;
}
