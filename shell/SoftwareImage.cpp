#include "shell/SoftwareImage.h"

#include <pixman.h>

#include <algorithm>

SoftwareImage::SoftwareImage(const DrawingBackEnd* maker, const DecodedImage& image, int bandCount)
    : DrawingTexture(maker)
{
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        return;
    width = image.width;
    height = image.height;
    pixels.resize(image.pixels.size());
    std::transform(image.pixels.begin(), image.pixels.end(), pixels.begin(), PremultipliedArgb);

    visibleLeft = width;
    visibleTop = height;
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            if ((pixels[static_cast<std::size_t>(y) * width + x] >> 24) == 0)
                continue;
            visibleLeft = std::min(visibleLeft, x);
            visibleRight = std::max(visibleRight, x + 1);
            visibleTop = std::min(visibleTop, y);
            visibleBottom = std::max(visibleBottom, y + 1);
        }
    }

    for (int band = 0; band < bandCount; ++band)
    {
        pixman_image_t* view =
            pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, pixels.data(), width * 4);
        // Bilinear samples; the edges clamp, as the renderer's textures do.
        pixman_image_set_filter(view, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(view, PIXMAN_REPEAT_PAD);
        views.push_back(view);
    }
}

SoftwareImage::~SoftwareImage()
{
    for (pixman_image_t* view : views)
        pixman_image_unref(view);
}
