#pragma once

#include "shell/DrawingBackEnd.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

typedef union pixman_image pixman_image_t;

// The drawing back end of machines without a GPU: it clears the frame and
// blends the batch's sprites straight into 32-bit xRGB pixels (the window's,
// or any buffer's), bilinear sampled and premultiplied OVER: small sprites by
// a kernel of its own, the others by pixman. The frame is cut into one
// horizontal band per core; each band's thread draws every sprite that
// crosses its band, in batch order, so no two threads write the same pixel.
// DrawFrame returns once every band is done; Present shows nothing (the
// window's layer does, around DrawFrame).
class SoftwareCompositor : public DrawingBackEnd
{
public:
    explicit SoftwareCompositor(int bandCount);
    SoftwareCompositor(const SoftwareCompositor&) = delete;
    SoftwareCompositor& operator=(const SoftwareCompositor&) = delete;
    ~SoftwareCompositor() override;

    // The bands for the machine: one per core, at most eight.
    static int BandsForThisMachine();

    // The pixels drawn into (32-bit xRGB rows of `pitch` bytes), and the
    // scale from drawing-surface pixels to them.
    void SetTarget(uint32_t* pixels, int width, int height, int pitch, float scaleX, float scaleY);

    // A SoftwareImage of the image.
    DrawingTexture* CreateTexture(const DecodedImage& image) override;
    // Clears the target and draws the sprites in order; nothing without a target.
    int DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                  const TextureRun* runs, std::size_t runCount) override;
    void Present() override {}

private:
    void DrawBand(int band);
    void Work(int band);

    int bandCount;
    std::vector<std::thread> workers;
    std::mutex lock;
    std::condition_variable wake;
    std::condition_variable finished;
    uint64_t frame = 0;
    int pending = 0;
    bool stopping = false;

    uint32_t clear = 0;
    const SpriteRect* rects = nullptr;
    const TextureRun* runs = nullptr;
    std::size_t runCount = 0;

    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    std::vector<pixman_image_t*> bandTargets; // owned, over the target's rows
    std::vector<int> bandTop;                 // bandCount + 1 row bounds
};
