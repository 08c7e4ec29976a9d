#pragma once

#include <cstdint>
#include <vector>

class CueLayer;

// Which layers one play of a cue starts.
enum class CueLayerMode : int32_t
{
    Randomized = 0,   // one layer, drawn uniformly
    Sequential = 1,   // one layer, taking turns in list order
    Simultaneous = 2, // every layer, in list order
};

// A named sound effect made of layers. Owns its layers.
class Cue
{
public:
    Cue() = default;
    Cue(const Cue&) = delete;
    Cue& operator=(const Cue&) = delete;
    virtual ~Cue();

    // Deletes every layer, last to first.
    void ClearLayers();

    std::vector<CueLayer*> layers;
    CueLayerMode mode = CueLayerMode::Simultaneous;
    int32_t nextLayer = 0;
};
