#include "objects/BouncingBall.h"

#include "content/Texture.h"
#include "content/TextureManager.h"
#include "objects/BouncingBallBehavior.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "shell/Game.h"

BouncingBall::BouncingBall()
{
    AddComponent(new Position2dComponent());
    position->x = 0.0f;
    position->y = 0.0f;
    AddComponent(new SpriteComponent());

    // Without the texture the sprite keeps its constructed size and is not drawn.
    Texture* texture = Game::Textures->GetTexture("Ship");
    sprite->texture = texture;
    if (texture)
    {
        sprite->width = texture->width;
        sprite->height = texture->height;
    }
    AddComponent(new BouncingBallBehavior());
}
