#include "shell/SpriteBatch.h"

#include <algorithm>
#include <cstring>

namespace
{
uint64_t SerialOf(const Texture* texture)
{
    return texture ? texture->serial : 0;
}
} // namespace

SpriteBatch::SpriteBatch(DrawingBackEnd* device) : device(device)
{
    Begin();
}

void SpriteBatch::Begin()
{
    count = 0;
    // An open run without a texture: sprites without one join it.
    runs.clear();
    runs.push_back({nullptr, 0, 0});
    runTexture = nullptr;
    runsInTextureOrder = true;
}

void SpriteBatch::StartRun(const Texture* texture)
{
    TextureRun& last = runs.back();
    last.end = count;
    if (last.start == last.end)
        runs.pop_back();
    // A texture met again, or one made before the last, needs the regrouping.
    if (!runs.empty() && SerialOf(texture) <= SerialOf(runs.back().texture))
        runsInTextureOrder = false;
    runs.push_back({texture, count, count});
    runTexture = texture;
}

void SpriteBatch::Grow()
{
    ownRects.resize(std::max<std::size_t>(2 * capacity, 1024));
    rects = ownRects.data();
    capacity = ownRects.size();
}

void SpriteBatch::GroupByTexture()
{
    // The runs are sorted by texture, by start within one (a stable order
    // without std::stable_sort's allocation); then each texture's rectangles
    // are copied together.
    std::sort(runs.begin(), runs.end(),
              [](const TextureRun& a, const TextureRun& b)
              {
                  const uint64_t serialA = SerialOf(a.texture);
                  const uint64_t serialB = SerialOf(b.texture);
                  return serialA != serialB ? serialA < serialB : a.start < b.start;
              });
    groupedRects.resize(std::max(groupedRects.size(), count));
    groupedRuns.clear();
    std::size_t next = 0;
    for (const TextureRun& run : runs)
    {
        if (groupedRuns.empty() || groupedRuns.back().texture != run.texture)
            groupedRuns.push_back({run.texture, next, next});
        std::memcpy(&groupedRects[next], &rects[run.start],
                    (run.end - run.start) * sizeof(SpriteRect));
        next += run.end - run.start;
        groupedRuns.back().end = next;
    }
}

int SpriteBatch::End(uint32_t clearArgb)
{
    runs.back().end = count;
    if (runs.back().start == runs.back().end)
        runs.pop_back();
    int calls;
    if (runsInTextureOrder)
    {
        calls = device->DrawFrame(clearArgb, rects, count, runs.data(), runs.size());
    }
    else
    {
        GroupByTexture();
        calls = device->DrawFrame(clearArgb, groupedRects.data(), count, groupedRuns.data(),
                                  groupedRuns.size());
    }
    Begin();
    return calls;
}
