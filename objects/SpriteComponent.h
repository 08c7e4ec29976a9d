#pragma once

#include "objects/Component.h"

class Texture;

// What is drawn for an object: the whole texture stretched to width x height
// pixels. The texture belongs to its bank and is never freed here.
class SpriteComponent : public Component
{
public:
    float width = 1.0f;
    float height = 1.0f;
    Texture* texture = nullptr;
};
