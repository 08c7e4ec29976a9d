#pragma once

#include <cstdint>
#include <string>

// One music track: its audio file and its loop points in PCM frames of that
// file, both inclusive; -1 means not set.
class MusicMetadata
{
public:
    virtual ~MusicMetadata() = default;

    std::string filePath;
    int32_t loopStartSample = -1;
    int32_t loopEndSample = -1;
};
