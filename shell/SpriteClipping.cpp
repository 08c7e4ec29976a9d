#include "shell/SpriteClipping.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

ClippedSprite ClipSprite(std::size_t index, const SpriteRect& r, float surfaceWidth,
                         float surfaceHeight)
{
    ClippedSprite e{index, {0, 0, 0, 0}, {0, 0, 0, 0}, false};
    const double left = r.left;
    const double top = r.top;
    const double width = double(r.right) - left;
    const double height = double(r.bottom) - top;
    if (!(width > 0 && height > 0 && std::isfinite(width) && std::isfinite(height)))
        return e;
    const double x0 = std::max(left, 0.0);
    const double x1 = std::min(double(r.right), double(surfaceWidth));
    const double y0 = std::max(top, 0.0);
    const double y1 = std::min(double(r.bottom), double(surfaceHeight));
    e.drawn = x0 < x1 && y0 < y1;
    e.clipped = {float(x0), float(y0), float(x1), float(y1)};
    e.textureWindow[0] = float((x0 - left) / width);
    e.textureWindow[1] = float((y0 - top) / height);
    e.textureWindow[2] = float((x1 - left) / width);
    e.textureWindow[3] = float((y1 - top) / height);
    return e;
}

void CopyClippingFarSprites(SpriteRect* to, const SpriteRect* from, std::size_t count,
                            float surfaceWidth, float surfaceHeight,
                            std::vector<ClippedSprite>* clipped)
{
    clipped->clear();
    std::size_t i = 0;
#ifdef __SSE2__
    // Four at a time into aligned memory, bypassing the cache, with one test
    // of the four in the common case; the rare sprite that fails it is
    // looked at on its own.
    if ((reinterpret_cast<uintptr_t>(to) & 15) == 0)
    {
        const float infinity = std::numeric_limits<float>::infinity();
        const __m128 low = _mm_setr_ps(-GuardBand, -GuardBand, -infinity, -infinity);
        const __m128 high =
            _mm_setr_ps(infinity, infinity, surfaceWidth + GuardBand, surfaceHeight + GuardBand);
        for (; i + 4 <= count; i += 4)
        {
            const __m128 a = _mm_loadu_ps(&from[i].left);
            const __m128 b = _mm_loadu_ps(&from[i + 1].left);
            const __m128 c = _mm_loadu_ps(&from[i + 2].left);
            const __m128 d = _mm_loadu_ps(&from[i + 3].left);
            _mm_stream_ps(&to[i].left, a);
            _mm_stream_ps(&to[i + 1].left, b);
            _mm_stream_ps(&to[i + 2].left, c);
            _mm_stream_ps(&to[i + 3].left, d);
            const __m128 lower = _mm_and_ps(_mm_and_ps(_mm_cmpge_ps(a, low), _mm_cmpge_ps(b, low)),
                                            _mm_and_ps(_mm_cmpge_ps(c, low), _mm_cmpge_ps(d, low)));
            const __m128 upper =
                _mm_and_ps(_mm_and_ps(_mm_cmple_ps(a, high), _mm_cmple_ps(b, high)),
                           _mm_and_ps(_mm_cmple_ps(c, high), _mm_cmple_ps(d, high)));
            // Right > left and bottom > top of each, in the two low lanes.
            const __m128 ab = _mm_movelh_ps(a, b); // a.left, a.top, b.left, b.top
            const __m128 abFar = _mm_movehl_ps(b, a);
            const __m128 cd = _mm_movelh_ps(c, d);
            const __m128 cdFar = _mm_movehl_ps(d, c);
            const __m128 area = _mm_and_ps(_mm_cmpgt_ps(abFar, ab), _mm_cmpgt_ps(cdFar, cd));
            if (_mm_movemask_ps(_mm_and_ps(lower, upper)) != 15 || _mm_movemask_ps(area) != 15)
                for (std::size_t k = i; k < i + 4; ++k)
                    if (!NearWithArea(from[k], surfaceWidth, surfaceHeight))
                        clipped->push_back(ClipSprite(k, from[k], surfaceWidth, surfaceHeight));
        }
        _mm_sfence();
    }
#endif
    std::memcpy(to + i, from + i, (count - i) * sizeof(SpriteRect));
    for (; i < count; ++i)
        if (!NearWithArea(from[i], surfaceWidth, surfaceHeight))
            clipped->push_back(ClipSprite(i, from[i], surfaceWidth, surfaceHeight));
    for (const ClippedSprite& e : *clipped)
        to[e.index] = e.clipped;
}
