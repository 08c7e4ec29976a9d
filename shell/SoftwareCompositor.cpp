#include "shell/SoftwareCompositor.h"

#include "content/Texture.h"
#include "shell/SoftwareImage.h"

#include <pixman.h>

#include <algorithm>
#include <cmath>

namespace
{
const std::size_t SpritesWorthTheThreads = 8;
} // namespace

SoftwareCompositor::SoftwareCompositor(int bandCount) : bandCount(std::max(1, bandCount))
{
    bandTargets.assign(static_cast<std::size_t>(this->bandCount), nullptr);
    bandTop.assign(static_cast<std::size_t>(this->bandCount) + 1, 0);
    for (int band = 1; band < this->bandCount; ++band)
        workers.emplace_back([this, band] { Work(band); });
}

SoftwareCompositor::~SoftwareCompositor()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread& worker : workers)
        worker.join();
    for (pixman_image_t* target : bandTargets)
    {
        if (target)
            pixman_image_unref(target);
    }
}

int SoftwareCompositor::BandsForThisMachine()
{
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
}

void SoftwareCompositor::SetTarget(uint32_t* targetPixels, int targetWidth, int targetHeight,
                                   int targetPitch, float targetScaleX, float targetScaleY)
{
    scaleX = targetScaleX;
    scaleY = targetScaleY;
    if (targetPixels == pixels && targetWidth == width && targetHeight == height &&
        targetPitch == pitch)
        return;
    pixels = targetPixels;
    width = targetWidth;
    height = targetHeight;
    pitch = targetPitch;
    for (int band = 0; band < bandCount; ++band)
    {
        if (bandTargets[band])
            pixman_image_unref(bandTargets[band]);
        bandTop[band] = height * band / bandCount;
        bandTop[band + 1] = height * (band + 1) / bandCount;
        uint32_t* rows = reinterpret_cast<uint32_t*>(
            reinterpret_cast<uint8_t*>(pixels) + static_cast<std::size_t>(bandTop[band]) * pitch);
        bandTargets[band] = pixman_image_create_bits(
            PIXMAN_x8r8g8b8, width, bandTop[band + 1] - bandTop[band], rows, pitch);
    }
}

void SoftwareCompositor::DrawFrame(uint32_t clearArgb,
                                   const SpriteBatch::QueuedSprite* frameSprites, std::size_t count)
{
    if (!pixels)
        return;
    // A frame with few sprites costs less than waking the other threads.
    if (count < SpritesWorthTheThreads || bandCount == 1)
    {
        clear = clearArgb;
        sprites = frameSprites;
        spriteCount = count;
        for (int band = 0; band < bandCount; ++band)
            DrawBand(band);
        return;
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        clear = clearArgb;
        sprites = frameSprites;
        spriteCount = count;
        pending = bandCount - 1;
        ++frame;
    }
    wake.notify_all();
    DrawBand(0);
    std::unique_lock<std::mutex> guard(lock);
    finished.wait(guard, [this] { return pending == 0; });
}

void SoftwareCompositor::Work(int band)
{
    uint64_t seen = 0;
    std::unique_lock<std::mutex> guard(lock);
    for (;;)
    {
        wake.wait(guard, [&] { return stopping || frame != seen; });
        if (stopping)
            return;
        seen = frame;
        guard.unlock();
        DrawBand(band);
        guard.lock();
        if (--pending == 0)
            finished.notify_one();
    }
}

void SoftwareCompositor::DrawBand(int band)
{
    const int top = bandTop[band];
    const int bottom = bandTop[band + 1];
    pixman_image_t* target = bandTargets[band];
    if (!target || bottom <= top)
        return;
    pixman_fill(pixels, pitch / 4, 32, 0, top, width, bottom - top, clear);

    for (std::size_t i = 0; i < spriteCount; ++i)
    {
        const SpriteBatch::QueuedSprite& sprite = sprites[i];
        const SoftwareImage* image = sprite.texture ? sprite.texture->image : nullptr;
        if (!image || image->views.size() <= static_cast<std::size_t>(band))
            continue;
        const float left = sprite.left * scaleX;
        const float right = sprite.right * scaleX;
        const float upper = sprite.top * scaleY;
        const float lower = sprite.bottom * scaleY;
        if (!(right > left) || !(lower > upper) || !std::isfinite(right - left) ||
            !std::isfinite(lower - upper))
            continue;
        // The pixels whose centres lie inside the rectangle, as a rasteriser
        // covers them, clipped to the band.
        const float x0 = std::clamp(std::ceil(left - 0.5f), 0.0f, float(width));
        const float x1 = std::clamp(std::ceil(right - 0.5f), 0.0f, float(width));
        const float y0 = std::clamp(std::ceil(upper - 0.5f), float(top), float(bottom));
        const float y1 = std::clamp(std::ceil(lower - 0.5f), float(top), float(bottom));
        if (x0 >= x1 || y0 >= y1)
            continue;

        // Destination pixel centres map to texels; the transform starts at the
        // clipped corner, so its numbers stay within pixman's 16.16 range.
        const double stepX = image->width / double(right - left);
        const double stepY = image->height / double(lower - upper);
        if (stepX > 16384.0 || stepY > 16384.0)
            continue; // far below a pixel
        pixman_transform_t transform = {{
            {pixman_double_to_fixed(stepX), 0, pixman_double_to_fixed((x0 - left) * stepX)},
            {0, pixman_double_to_fixed(stepY), pixman_double_to_fixed((y0 - upper) * stepY)},
            {0, 0, pixman_fixed_1},
        }};
        pixman_image_t* view = image->views[band];
        pixman_image_set_transform(view, &transform);
        pixman_image_composite32(PIXMAN_OP_OVER, view, nullptr, target, 0, 0, 0, 0, int(x0),
                                 int(y0) - top, int(x1 - x0), int(y1 - y0));
    }
}
