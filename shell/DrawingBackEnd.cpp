#include "shell/DrawingBackEnd.h"

#include <atomic>

namespace
{
std::atomic<uint64_t> lastSerial{0};
} // namespace

DrawingBackEnd::DrawingBackEnd() : serial(++lastSerial) {}

DrawingTexture::DrawingTexture(const DrawingBackEnd* maker) : makerSerial(maker->serial) {}
