#include "shell/SoftwareCompositor.h"

#include "shell/SoftwareImage.h"

#include <pixman.h>

#include <algorithm>
#include <cassert>
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

#ifdef __SSE2__
// Mix of four pixels' 16-bit channels (two pixels a register) with their
// weights of b in 1/256, as Mix does.
inline __m128i Mix16(__m128i a, __m128i b, __m128i weightB, __m128i weightA)
{
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, weightA), _mm_mullo_epi16(b, weightB)),
                          8);
}

// Premultiplied OVER of two pixels' 16-bit channels, rounded as Over does.
inline __m128i Over16(__m128i source, __m128i destination)
{
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(source, 0xff), 0xff);
    const __m128i rest = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    __m128i scaled = _mm_add_epi16(_mm_mullo_epi16(destination, rest), _mm_set1_epi16(128));
    scaled = _mm_srli_epi16(_mm_add_epi16(scaled, _mm_srli_epi16(scaled, 8)), 8);
    return _mm_add_epi16(source, scaled);
}
#endif

// Blends the texture over the pixels x0..x1-1 (at most 64), y0..y1-1: the
// centre of pixel x samples texel coordinate (x + 0.5 - left) * stepX
// bilinearly, edges clamped, as pixman does for the larger sprites.
// Coordinates are 16.16 fixed point, weights 8 bits. Rows are sampled as if
// counted from `originY`, the sprite's first row in the frame, so a band that
// starts lower samples exactly as one that starts there.
void BlendSpriteColumns(const SoftwareImage& image, uint32_t* pixels, int stride, int x0, int x1,
                        int originY, int y0, int y1, double left, double upper, double stepX,
                        double stepY)
{
    const int lastX = image.width - 1;
    const int lastY = image.height - 1;
    const int count = std::min(x1 - x0, 64);
    int columns[2 * 64 + 8];
    uint16_t weights[2 * 4 * 64 + 32]; // per pixel: 256 - w four times, then w four times
    // A step of more than a texture's width is only taken by a sprite of one
    // column (or row), whose start alone matters: the step is held finite.
    const int64_t stepU = static_cast<int64_t>(std::min(stepX, 1e9) * 65536.0);
    int64_t u = static_cast<int64_t>(((x0 + 0.5 - left) * stepX - 0.5) * 65536.0);
    for (int i = 0; i < count; ++i, u += stepU)
    {
        const int column = static_cast<int>(u >> 16);
        const uint16_t w = static_cast<uint16_t>((u >> 8) & 0xff);
        columns[2 * i] = std::clamp(column, 0, lastX);
        columns[2 * i + 1] = std::clamp(column + 1, 0, lastX);
        for (int c = 0; c < 4; ++c)
        {
            weights[8 * i + c] = static_cast<uint16_t>(256 - w);
            weights[8 * i + 4 + c] = w;
        }
    }
    const int64_t stepV = static_cast<int64_t>(std::min(stepY, 1e9) * 65536.0);
    int64_t v = static_cast<int64_t>(((originY + 0.5 - upper) * stepY - 0.5) * 65536.0) +
                stepV * (y0 - originY);
    for (int y = y0; y < y1; ++y, v += stepV)
    {
        const int row = static_cast<int>(v >> 16);
        const uint32_t rowWeight = static_cast<uint32_t>((v >> 8) & 0xff);
        const uint32_t* above = &image.pixels[std::size_t(std::clamp(row, 0, lastY)) * image.width];
        const uint32_t* below =
            &image.pixels[std::size_t(std::clamp(row + 1, 0, lastY)) * image.width];
        uint32_t* out = pixels + std::size_t(y) * stride + x0;
        int i = 0;
#ifdef __SSE2__
        const __m128i zero = _mm_setzero_si128();
        const __m128i lower = _mm_set1_epi16(static_cast<int16_t>(rowWeight));
        const __m128i upperWeight = _mm_set1_epi16(static_cast<int16_t>(256 - rowWeight));
        for (; i + 4 <= count; i += 4)
        {
            const int* c = columns + 2 * i;
            const __m128i topLeft = _mm_setr_epi32(int(above[c[0]]), int(above[c[2]]),
                                                   int(above[c[4]]), int(above[c[6]]));
            const __m128i topRight = _mm_setr_epi32(int(above[c[1]]), int(above[c[3]]),
                                                    int(above[c[5]]), int(above[c[7]]));
            const __m128i bottomLeft = _mm_setr_epi32(int(below[c[0]]), int(below[c[2]]),
                                                      int(below[c[4]]), int(below[c[6]]));
            const __m128i bottomRight = _mm_setr_epi32(int(below[c[1]]), int(below[c[3]]),
                                                       int(below[c[5]]), int(below[c[7]]));
            const __m128i destination = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
            __m128i halves[2];
            for (int half = 0; half < 2; ++half)
            {
                // Pixels i, i + 1, then i + 2, i + 3: weights of the left
                // and right texels for each.
                const __m128i first =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 8 * (i + 2 * half)));
                const __m128i second = _mm_loadu_si128(
                    reinterpret_cast<const __m128i*>(weights + 8 * (i + 2 * half + 1)));
                const __m128i leftWeight = _mm_unpacklo_epi64(first, second);
                const __m128i rightWeight = _mm_unpackhi_epi64(first, second);
                auto unpack = [&](__m128i x)
                { return half ? _mm_unpackhi_epi8(x, zero) : _mm_unpacklo_epi8(x, zero); };
                const __m128i top =
                    Mix16(unpack(topLeft), unpack(topRight), rightWeight, leftWeight);
                const __m128i bottom =
                    Mix16(unpack(bottomLeft), unpack(bottomRight), rightWeight, leftWeight);
                halves[half] = Over16(Mix16(top, bottom, lower, upperWeight), unpack(destination));
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                             _mm_packus_epi16(halves[0], halves[1]));
        }
#endif
        for (; i < count; ++i)
        {
            const uint32_t w = weights[8 * i + 4];
            const uint32_t sample =
                Mix(Mix(above[columns[2 * i]], above[columns[2 * i + 1]], w),
                    Mix(below[columns[2 * i]], below[columns[2 * i + 1]], w), rowWeight);
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

DrawingTexture* SoftwareCompositor::CreateTexture(const DecodedImage& image)
{
    SoftwareImage* created = new SoftwareImage(this, image, bandCount);
    if (created->pixels.empty())
    {
        delete created;
        return nullptr;
    }
    return created;
}

int SoftwareCompositor::DrawFrame(uint32_t clearArgb, const SpriteRect* frameRects,
                                  std::size_t count, const TextureRun* frameRuns,
                                  std::size_t frameRunCount)
{
    if (!pixels)
        return 0;
    // A frame with few sprites costs less than waking the other threads.
    if (count < SpritesWorthTheThreads || bandCount == 1)
    {
        clear = clearArgb;
        rects = frameRects;
        runs = frameRuns;
        runCount = frameRunCount;
        for (int band = 0; band < bandCount; ++band)
            DrawBand(band);
        return 0;
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        clear = clearArgb;
        rects = frameRects;
        runs = frameRuns;
        runCount = frameRunCount;
        pending = bandCount - 1;
        ++frame;
    }
    wake.notify_all();
    DrawBand(0);
    std::unique_lock<std::mutex> guard(lock);
    finished.wait(guard, [this] { return pending == 0; });
    return 0;
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

    for (std::size_t r = 0; r < runCount; ++r)
    {
        const TextureRun& run = runs[r];
        const DrawingTexture* copy = run.texture;
        assert((!copy || copy->MadeBy(this)) && "a texture is drawn by the back end that made it");
        if (!copy || !copy->MadeBy(this))
            continue;
        const auto* image = static_cast<const SoftwareImage*>(copy);
        if (image->views.size() <= static_cast<std::size_t>(band) ||
            image->visibleRight <= image->visibleLeft)
            continue;
        for (std::size_t i = run.start; i < run.end; ++i)
        {
            const SpriteRect& sprite = rects[i];
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
            if (!std::isfinite(stepX) || !std::isfinite(stepY))
                continue;

            // The pixels whose centres lie inside the rectangle, as a rasteriser
            // covers them, narrowed to those whose bilinear samples reach a
            // texel that is not fully transparent (the rest would blend nothing),
            // and clipped to the frame; then to the band. What is sampled, and
            // how, is decided on the frame's rectangle, never the band's, so the
            // picture does not depend on the number of bands.
            auto firstPixel = [](double edge) { return std::ceil(edge - 0.5); };
            const double x0 =
                std::clamp(std::max(firstPixel(left),
                                    firstPixel(left + (image->visibleLeft - 0.5) / stepX) - 1),
                           0.0, double(width));
            const double x1 =
                std::clamp(std::min(firstPixel(right),
                                    firstPixel(left + (image->visibleRight + 0.5) / stepX) + 1),
                           0.0, double(width));
            const double frameY0 =
                std::clamp(std::max(firstPixel(upper),
                                    firstPixel(upper + (image->visibleTop - 0.5) / stepY) - 1),
                           0.0, double(height));
            const double frameY1 =
                std::clamp(std::min(firstPixel(lower),
                                    firstPixel(upper + (image->visibleBottom + 0.5) / stepY) + 1),
                           0.0, double(height));
            const double y0 = std::max(frameY0, double(top));
            const double y1 = std::min(frameY1, double(bottom));
            if (x0 >= x1 || y0 >= y1)
                continue;

            // Small sprites cost pixman more in set-up than in pixels, and a
            // sprite thinner than a pixel steps further than pixman's 16.16
            // numbers reach: both are blended here, with the same sampling.
            if ((x1 - x0) * (frameY1 - frameY0) <= SmallSpritePixels || stepX > 16384.0 ||
                stepY > 16384.0)
            {
                for (double columns = x0; columns < x1; columns += 64)
                    BlendSpriteColumns(*image, pixels, pitch / 4, int(columns),
                                       int(std::min(columns + 64, x1)), int(frameY0), int(y0),
                                       int(y1), left, upper, stepX, stepY);
                continue;
            }

            // Destination pixel centres map to texels from the sprite's corner in
            // the frame, whatever band draws them; numbers from that corner stay
            // within pixman's 16.16 range.
            pixman_transform_t transform = {{
                {pixman_double_to_fixed(stepX), 0, pixman_double_to_fixed((x0 - left) * stepX)},
                {0, pixman_double_to_fixed(stepY),
                 pixman_double_to_fixed((frameY0 - upper) * stepY)},
                {0, 0, pixman_fixed_1},
            }};
            pixman_image_t* view = image->views[band];
            pixman_image_set_transform(view, &transform);
            pixman_image_composite32(PIXMAN_OP_OVER, view, nullptr, target, 0, int(y0 - frameY0), 0,
                                     0, int(x0), int(y0) - top, int(x1 - x0), int(y1 - y0));
        }
    }
}
