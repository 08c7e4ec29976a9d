#include "audio/Cue.h"

#include "audio/CueLayer.h"

Cue::~Cue()
{
    for (CueLayer* layer : layers)
        delete layer;
}

void Cue::ClearLayers()
{
    while (!layers.empty())
    {
        delete layers.back();
        layers.pop_back();
    }
}
