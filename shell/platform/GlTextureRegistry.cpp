#include "shell/platform/GlTextureRegistry.h"

#include "shell/platform/GlFunctions.h"

#include <cstdint>

// A texture's copy on the GPU and its pixels, held in its registry's list of
// the live ones until it goes or the registry does.
class GlTexture : public DrawingTexture
{
public:
    GlTexture(GlTextureRegistry* registry, GLuint name, int width, int height,
              std::vector<uint8_t>&& rgba)
        : DrawingTexture(registry->maker), registry(registry), name(name), width(width),
          height(height), rgba(std::move(rgba)), slot(registry->live.size())
    {
        registry->live.push_back(this);
    }
    ~GlTexture() override
    {
        if (!registry)
            return;
        if (name)
            registry->gl->DeleteTextures(1, &name);
        std::vector<GlTexture*>& live = registry->live;
        live[slot] = live.back();
        live[slot]->slot = slot;
        live.pop_back();
    }

    GlTextureRegistry* registry; // null once the registry is gone
    GLuint name;
    const int width, height;
    const std::vector<uint8_t> rgba; // premultiplied
    std::size_t slot;                // in registry->live
};

GlTextureRegistry::GlTextureRegistry(const DrawingBackEnd* maker, GlFunctions* gl)
    : maker(maker), gl(gl)
{
}

GlTextureRegistry::~GlTextureRegistry()
{
    for (GlTexture* texture : live)
    {
        if (texture->name)
            gl->DeleteTextures(1, &texture->name);
        texture->registry = nullptr;
    }
}

DrawingTexture* GlTextureRegistry::Create(const DecodedImage& image, int maxSide, bool upload)
{
    if (image.width <= 0 || image.height <= 0 || image.width > maxSide || image.height > maxSide ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        return nullptr;
    // Premultiplied as every back end keeps textures, in RGBA bytes.
    std::vector<uint8_t> rgba(image.pixels.size() * 4);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
    {
        const uint32_t c = PremultipliedArgb(image.pixels[i]);
        rgba[4 * i] = static_cast<uint8_t>(c >> 16);
        rgba[4 * i + 1] = static_cast<uint8_t>(c >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(c);
        rgba[4 * i + 3] = static_cast<uint8_t>(c >> 24);
    }
    const GLuint name = upload ? Upload(image.width, image.height, rgba) : 0;
    return name || !upload ? new GlTexture(this, name, image.width, image.height, std::move(rgba))
                           : nullptr;
}

unsigned GlTextureRegistry::Upload(int width, int height, const std::vector<uint8_t>& rgba)
{
    TakeGlErrors(gl);
    GLuint name = 0;
    gl->GenTextures(1, &name);
    gl->BindTexture(GL_TEXTURE_2D, name);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl->TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl->TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                   rgba.data());
    if (TakeGlErrors(gl) != GL_NO_ERROR) // out of memory, most likely
    {
        gl->DeleteTextures(1, &name);
        return 0;
    }
    return name;
}

unsigned GlTextureRegistry::NameOf(const DrawingTexture* texture)
{
    return static_cast<const GlTexture*>(texture)->name;
}

void GlTextureRegistry::ForgetNames()
{
    for (GlTexture* texture : live)
        texture->name = 0;
}

bool GlTextureRegistry::MakeAgain()
{
    bool all = true;
    for (GlTexture* texture : live)
    {
        texture->name = Upload(texture->width, texture->height, texture->rgba);
        all = all && texture->name;
    }
    return all;
}
