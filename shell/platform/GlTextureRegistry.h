#pragma once

#include "shell/DrawingBackEnd.h"

#include <vector>

struct GlFunctions;
class GlTexture;

// The textures a back end made on the GPU, and the registry of those still
// alive. A texture may outlive its back end: the registry's end deletes the
// GL names of those alive, which then hold nothing of the GL.
class GlTextureRegistry
{
public:
    GlTextureRegistry(const DrawingBackEnd* maker, GlFunctions* gl);
    GlTextureRegistry(const GlTextureRegistry&) = delete;
    GlTextureRegistry& operator=(const GlTextureRegistry&) = delete;
    ~GlTextureRegistry();

    // The image, premultiplied, sampled bilinearly with its edges clamped;
    // null for an image larger than maxSide on a side, or one the GPU has no
    // memory for.
    DrawingTexture* Create(const DecodedImage& image, int maxSide);
    // The GL name of a texture of this registry's.
    static unsigned NameOf(const DrawingTexture* texture);

private:
    friend class GlTexture;

    const DrawingBackEnd* const maker;
    GlFunctions* const gl;
    std::vector<GlTexture*> live;
};
