#pragma once

#include "shell/DrawingBackEnd.h"

#include <vector>

struct GlFunctions;
class GlTexture;

// The textures a back end made on the GPU, and the registry of those still
// alive. Each keeps its pixels, so that a context lost with its GPU can be
// given them again. A texture may outlive its back end: the registry's end
// deletes the GL names of those alive, which then hold nothing of the GL.
class GlTextureRegistry
{
public:
    GlTextureRegistry(const DrawingBackEnd* maker, GlFunctions* gl);
    GlTextureRegistry(const GlTextureRegistry&) = delete;
    GlTextureRegistry& operator=(const GlTextureRegistry&) = delete;
    ~GlTextureRegistry();

    // The image, premultiplied, sampled bilinearly with its edges clamped;
    // null for an image larger than maxSide on a side, or one the GPU has no
    // memory for. While the context is lost (`upload` false) it is only
    // kept, to be made with the others on the next context.
    DrawingTexture* Create(const DecodedImage& image, int maxSide, bool upload);
    // The GL name of a texture of this registry's; 0 while it has none.
    static unsigned NameOf(const DrawingTexture* texture);

    // The context is gone, and with it every name.
    void ForgetNames();
    // Every live texture made again on the current context from its pixels;
    // false where one could not be (it is then drawn as nothing).
    bool MakeAgain();

private:
    friend class GlTexture;
    unsigned Upload(int width, int height, const std::vector<uint8_t>& rgba);

    const DrawingBackEnd* const maker;
    GlFunctions* const gl;
    std::vector<GlTexture*> live;
};
