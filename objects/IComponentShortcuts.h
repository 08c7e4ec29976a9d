#pragma once

class Position2dComponent;
class SpriteComponent;

// Direct links to an object's first position and first sprite component, so
// that per-frame code never searches the component list. Not owned.
class IComponentShortcuts
{
public:
    virtual ~IComponentShortcuts() = default;

    Position2dComponent* position = nullptr;
    SpriteComponent* sprite = nullptr;
};
