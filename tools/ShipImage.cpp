#include "tools/ShipImage.h"

#include <algorithm>
#include <cmath>

namespace
{
struct Point
{
    float x, y;
};

struct Colour
{
    float r, g, b, a;
};

bool InPolygon(const std::vector<Point>& polygon, float x, float y)
{
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++)
    {
        const Point& a = polygon[i];
        const Point& b = polygon[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

bool InEllipse(float cx, float cy, float rx, float ry, float x, float y)
{
    const float dx = (x - cx) / rx;
    const float dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0f;
}

// Shapes in a 64-unit square, y downwards.
const std::vector<Point> Wings = {{32, 17}, {61, 47}, {58, 52}, {32, 44}, {6, 52}, {3, 47}};
const std::vector<Point> Hull = {{32, 2},  {38, 14}, {40, 28}, {39, 52},
                                 {25, 52}, {24, 28}, {26, 14}};
const std::vector<Point> LeftTip = {{3, 47}, {10, 40}, {13, 44}, {6, 52}};
const std::vector<Point> RightTip = {{61, 47}, {54, 40}, {51, 44}, {58, 52}};
const std::vector<Point> Tail = {{32, 40}, {44, 58}, {32, 54}, {20, 58}};

bool InSilhouette(float x, float y)
{
    return InPolygon(Wings, x, y) || InPolygon(Hull, x, y) || InPolygon(Tail, x, y) ||
           InEllipse(32, 56, 6, 5, x, y);
}

// The colour of the topmost shape at the point, or a = 0.
Colour Sample(float x, float y)
{
    if (InEllipse(32, 22, 3.6f, 7.0f, x, y))
    {
        const float shine = InEllipse(31, 19, 1.4f, 3.0f, x, y) ? 1.0f : 0.0f;
        return {0.30f + 0.6f * shine, 0.78f + 0.2f * shine, 1.0f, 1.0f};
    }
    if (InPolygon(Hull, x, y))
    {
        const float shade = 0.80f + 0.18f * (1.0f - std::fabs(x - 32.0f) / 8.0f);
        return {0.86f * shade, 0.88f * shade, 0.93f * shade, 1.0f};
    }
    if (InPolygon(LeftTip, x, y) || InPolygon(RightTip, x, y))
        return {0.90f, 0.20f, 0.18f, 1.0f};
    if (InPolygon(Wings, x, y))
    {
        const float stripe = (y > 38.0f && y < 42.0f) ? 0.2f : 0.0f;
        return {0.22f + stripe, 0.40f + stripe, 0.72f + stripe, 1.0f};
    }
    if (InPolygon(Tail, x, y))
        return {0.18f, 0.32f, 0.60f, 1.0f};
    if (InEllipse(32, 56, 6, 5, x, y))
    {
        const float d = std::min(1.0f, std::hypot((x - 32.0f) / 6.0f, (y - 56.0f) / 5.0f));
        return {1.0f, 0.85f - 0.45f * d, 0.35f - 0.3f * d, 1.0f - 0.7f * d};
    }
    // A dark rim around the silhouette keeps the shape readable on any background.
    const float rim = 1.6f;
    for (int k = 0; k < 8; ++k)
    {
        const float angle = k * 0.785398f;
        if (InSilhouette(x + rim * std::cos(angle), y + rim * std::sin(angle)))
            return {0.07f, 0.08f, 0.12f, 0.95f};
    }
    return {0, 0, 0, 0};
}
} // namespace

std::vector<uint8_t> DrawShipImage(int size)
{
    const int grid = 6; // samples per pixel side
    const float scale = 64.0f / size;
    std::vector<uint8_t> pixels(static_cast<std::size_t>(size) * size * 4);
    for (int py = 0; py < size; ++py)
    {
        for (int px = 0; px < size; ++px)
        {
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < grid; ++sy)
            {
                for (int sx = 0; sx < grid; ++sx)
                {
                    const float x = (px + (sx + 0.5f) / grid) * scale;
                    const float y = (py + (sy + 0.5f) / grid) * scale;
                    Colour c = Sample(x, y);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            uint8_t* out = &pixels[(static_cast<std::size_t>(py) * size + px) * 4];
            const float coverage = a / (grid * grid);
            // Straight alpha: the covered samples' average colour.
            out[0] = a > 0 ? static_cast<uint8_t>(std::lround(255.0f * r / a)) : 0;
            out[1] = a > 0 ? static_cast<uint8_t>(std::lround(255.0f * g / a)) : 0;
            out[2] = a > 0 ? static_cast<uint8_t>(std::lround(255.0f * b / a)) : 0;
            out[3] = static_cast<uint8_t>(std::lround(255.0f * coverage));
        }
    }
    return pixels;
}
