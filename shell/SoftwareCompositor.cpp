#include "shell/SoftwareCompositor.h"

#include "content/Texture.h"
#include "shell/SoftwareImage.h"

#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace
{
const std::size_t SpritesWorthTheThreads = 8;
const double SmallSpritePixels = 64;

// Clears rows top..bottom-1 to one value. The stores bypass the cache, as
// nothing reads the cleared frame before the sprites land on it, and writing
// around the cache halves the cost of the clear.
void FillRows(uint32_t* pixels, int stride, int width, int top, int bottom, uint32_t value)
{
    for (int y = top; y < bottom; ++y)
    {
        uint32_t* row = pixels + std::size_t(y) * stride;
        int x = 0;
#ifdef __SSE2__
        while (x < width && (reinterpret_cast<uintptr_t>(row + x) & 15) != 0)
            row[x++] = value;
        const __m128i four = _mm_set1_epi32(static_cast<int>(value));
        for (; x + 4 <= width; x += 4)
            _mm_stream_si128(reinterpret_cast<__m128i*>(row + x), four);
#endif
        for (; x < width; ++x)
            row[x] = value;
    }
#ifdef __SSE2__
    _mm_sfence();
#endif
}

// Bilinear mix of two premultiplied pixels, weight w of b in 1/256.
inline uint32_t Mix(uint32_t a, uint32_t b, uint32_t w)
{
    const uint32_t v = 256 - w;
    const uint32_t redBlue = (((a & 0x00ff00ffu) * v + (b & 0x00ff00ffu) * w) >> 8) & 0x00ff00ffu;
    const uint32_t alphaGreen =
        (((a >> 8) & 0x00ff00ffu) * v + ((b >> 8) & 0x00ff00ffu) * w) & 0xff00ff00u;
    return redBlue | alphaGreen;
}

// Premultiplied OVER: source plus destination scaled by what the source
// leaves, two channels a multiply, rounded.
inline uint32_t Over(uint32_t source, uint32_t destination)
{
    const uint32_t rest = 255 - (source >> 24);
    uint32_t redBlue = (destination & 0x00ff00ffu) * rest + 0x00800080u;
    redBlue = ((redBlue + ((redBlue >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
    uint32_t alphaGreen = ((destination >> 8) & 0x00ff00ffu) * rest + 0x00800080u;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0x00ff00ffu)) & 0xff00ff00u;
    return source + (redBlue | alphaGreen);
}

// Blends the texture over the pixels x0..x1-1, y0..y1-1: the centre of pixel
// x samples texel coordinate (x + 0.5 - left) * stepX bilinearly, edges
// clamped, as pixman does for the larger sprites.
void BlendSmallSprite(const SoftwareImage& image, uint32_t* pixels, int stride, int x0, int x1,
                      int y0, int y1, double left, double upper, double stepX, double stepY)
{
    const int lastX = image.width - 1;
    const int lastY = image.height - 1;
    int columns[2 * 64];
    uint32_t columnWeights[64];
    const int count = std::min(x1 - x0, 64);
    for (int i = 0; i < count; ++i)
    {
        const double u = (x0 + i + 0.5 - left) * stepX - 0.5;
        const double base = std::floor(u);
        columnWeights[i] = static_cast<uint32_t>((u - base) * 256.0);
        const int column = static_cast<int>(base);
        columns[2 * i] = std::clamp(column, 0, lastX);
        columns[2 * i + 1] = std::clamp(column + 1, 0, lastX);
    }
    for (int y = y0; y < y1; ++y)
    {
        const double v = (y + 0.5 - upper) * stepY - 0.5;
        const double base = std::floor(v);
        const uint32_t rowWeight = static_cast<uint32_t>((v - base) * 256.0);
        const int row = static_cast<int>(base);
        const uint32_t* above = &image.pixels[std::size_t(std::clamp(row, 0, lastY)) * image.width];
        const uint32_t* below =
            &image.pixels[std::size_t(std::clamp(row + 1, 0, lastY)) * image.width];
        uint32_t* out = pixels + std::size_t(y) * stride + x0;
        for (int i = 0; i < count; ++i)
        {
            const uint32_t w = columnWeights[i];
            const uint32_t sample =
                Mix(Mix(above[columns[2 * i]], above[columns[2 * i + 1]], w),
                    Mix(below[columns[2 * i]], below[columns[2 * i + 1]], w), rowWeight);
            if (sample != 0)
                out[i] = Over(sample, out[i]);
        }
    }
}
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
    FillRows(pixels, pitch / 4, width, top, bottom, clear);

    for (std::size_t i = 0; i < spriteCount; ++i)
    {
        const SpriteBatch::QueuedSprite& sprite = sprites[i];
        const SoftwareImage* image = sprite.texture ? sprite.texture->image : nullptr;
        if (!image || image->views.size() <= static_cast<std::size_t>(band) ||
            image->visibleRight <= image->visibleLeft)
            continue;
        // Most sprites miss a given band: they are passed over before any
        // division (a NaN edge fails the comparisons too).
        const float rowsFrom = sprite.top * scaleY - 0.5f;
        const float rowsTo = sprite.bottom * scaleY - 0.5f;
        if (!(rowsTo > float(top) - 1.0f && rowsFrom < float(bottom)))
            continue;
        const double left = double(sprite.left) * scaleX;
        const double right = double(sprite.right) * scaleX;
        const double upper = double(sprite.top) * scaleY;
        const double lower = double(sprite.bottom) * scaleY;
        if (!(right > left) || !(lower > upper) || !std::isfinite(right - left) ||
            !std::isfinite(lower - upper) || !(right > -0.5) || !(left < width + 0.5))
            continue;
        const double stepX = image->width / (right - left);
        const double stepY = image->height / (lower - upper);
        if (stepX > 16384.0 || stepY > 16384.0)
            continue; // far below a pixel

        // The pixels whose centres lie inside the rectangle, as a rasteriser
        // covers them, narrowed to those whose bilinear samples reach a
        // texel that is not fully transparent (the rest would blend nothing),
        // and clipped to the band.
        auto firstPixel = [](double edge) { return std::ceil(edge - 0.5); };
        const double x0 = std::clamp(
            std::max(firstPixel(left), firstPixel(left + (image->visibleLeft - 0.5) / stepX) - 1),
            0.0, double(width));
        const double x1 = std::clamp(
            std::min(firstPixel(right), firstPixel(left + (image->visibleRight + 0.5) / stepX) + 1),
            0.0, double(width));
        const double y0 = std::clamp(
            std::max(firstPixel(upper), firstPixel(upper + (image->visibleTop - 0.5) / stepY) - 1),
            double(top), double(bottom));
        const double y1 =
            std::clamp(std::min(firstPixel(lower),
                                firstPixel(upper + (image->visibleBottom + 0.5) / stepY) + 1),
                       double(top), double(bottom));
        if (x0 >= x1 || y0 >= y1)
            continue;

        // Small sprites cost pixman more in set-up than in pixels: they are
        // blended here, with the same sampling.
        if ((x1 - x0) * (y1 - y0) <= SmallSpritePixels)
        {
            BlendSmallSprite(*image, pixels, pitch / 4, int(x0), int(x1), int(y0), int(y1), left,
                             upper, stepX, stepY);
            continue;
        }

        // Destination pixel centres map to texels; the transform starts at the
        // clipped corner, so its numbers stay within pixman's 16.16 range.
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
