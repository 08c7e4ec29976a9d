#pragma once

#include "objects/Component.h"
#include "objects/IComponentShortcuts.h"

// A component the frame loop calls: HandleInput in the input pass, then
// Update in the update pass; Start once, just before the first Update.
// Its shortcuts equal its owner's once it is added.
class Behavior : public Component, public IComponentShortcuts
{
public:
    virtual void Update() = 0;
    virtual void HandleInput() = 0;
    virtual void Start() = 0;

    bool started = false;
};
