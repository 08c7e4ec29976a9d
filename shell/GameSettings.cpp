#include "shell/GameSettings.h"

#include "content/Texture.h"
#include "objects/GameObject.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "shell/SpriteBatch.h"

namespace
{
inline void DrawSprite(SpriteBatch* spriteBatch, const GameObject* object)
{
    const SpriteComponent* sprite = object->sprite;
    const Texture* texture = sprite ? sprite->texture : nullptr;
    if (texture && texture->deviceTexture)
    {
        // The rectangle is computed directly rather than through a scale, so
        // a sprite of width or height 0 is empty and divides by nothing.
        float x = object->position ? object->position->x : 0.0f;
        float y = object->position ? object->position->y : 0.0f;
        float halfWidth = sprite->width * 0.5f;
        float halfHeight = sprite->height * 0.5f;
        if (sprite->width > 0.0f && sprite->height > 0.0f)
            spriteBatch->Draw(texture, x - halfWidth, y - halfHeight, x + halfWidth,
                              y + halfHeight);
    }
}
} // namespace

void GameSettings::DrawObject(GameObject* object)
{
    SpriteBatch* batch = spriteBatch;
    DrawSprite(batch, object);
    // Drawing runs no behaviour, so the tree holds still: the list is read
    // once. Leaves, most of the objects, are drawn here rather than through
    // a call.
    for (GameObject* child : object->children)
    {
        if (child->children.empty())
            DrawSprite(batch, child);
        else
            DrawObject(child);
    }
}
