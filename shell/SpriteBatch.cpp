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
    runSerials.clear();
    runs.push_back({nullptr, 0, 0});
    runSerials.push_back(0);
    runTexture = nullptr;
    runsInTextureOrder = true;
}

void SpriteBatch::StartRun(const Texture* texture)
{
    TextureRun& last = runs.back();
    last.end = count;
    if (last.start == last.end)
    {
        runs.pop_back();
        runSerials.pop_back();
    }
    // A texture met again, or one made before the last, needs the regrouping.
    const uint64_t serial = SerialOf(texture);
    if (!runs.empty() && serial <= runSerials.back())
        runsInTextureOrder = false;
    runs.push_back({texture ? texture->deviceTexture : nullptr, count, count});
    runSerials.push_back(serial);
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
    // The runs are put in texture order, by start within one (a stable order
    // without std::stable_sort's allocation); then each texture's rectangles
    // are copied together.
    order.resize(runs.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [this](std::size_t a, std::size_t b)
              {
                  return runSerials[a] != runSerials[b] ? runSerials[a] < runSerials[b]
                                                        : runs[a].start < runs[b].start;
              });
    groupedRects.resize(std::max(groupedRects.size(), count));
    groupedRuns.clear();
    std::size_t next = 0;
    uint64_t lastSerial = 0;
    for (std::size_t i : order)
    {
        const TextureRun& run = runs[i];
        if (groupedRuns.empty() || runSerials[i] != lastSerial)
            groupedRuns.push_back({run.texture, next, next});
        lastSerial = runSerials[i];
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
    {
        runs.pop_back();
        runSerials.pop_back();
    }
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
