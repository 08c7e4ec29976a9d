#pragma once

#include "shell/DrawingBackEnd.h"

#include <cstdint>
#include <vector>

typedef union pixman_image pixman_image_t;

// A texture as the software compositor keeps it: premultiplied ARGB pixels,
// prepared once at load, and one view of them per band of the compositor,
// since each band's thread sets its own sampling transform.
class SoftwareImage : public DrawingTexture
{
public:
    SoftwareImage(const DrawingBackEnd* maker, const DecodedImage& image, int bandCount);
    SoftwareImage(const SoftwareImage&) = delete;
    SoftwareImage& operator=(const SoftwareImage&) = delete;
    ~SoftwareImage() override;

    int width = 0;
    int height = 0;
    // The texels that are not fully transparent lie in these bounds (right
    // and bottom exclusive); empty for an image with none.
    int visibleLeft = 0;
    int visibleTop = 0;
    int visibleRight = 0;
    int visibleBottom = 0;
    std::vector<uint32_t> pixels;       // empty for an image of no pixels
    std::vector<pixman_image_t*> views; // owned, one per band
};
