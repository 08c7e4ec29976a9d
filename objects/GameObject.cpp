#include "objects/GameObject.h"

#include "objects/Behavior.h"
#include "objects/Component.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"

#include <cassert>

// The layout the frame's walks and the arena's pools are measured with: a
// list is one word, and a game object (its shortcuts, three lists and the
// parent) 56 bytes on a 64-bit machine.
static_assert(sizeof(ObjectList<GameObject*>) == sizeof(void*), "a list is one word");
static_assert(sizeof(void*) != 8 || sizeof(GameObject) == 56, "a game object is 56 bytes");

GameObject::~GameObject()
{
    for (Component* component : components)
        delete component;
    for (GameObject* child : children)
        delete child;
}

void GameObject::AddComponent(Component* component)
{
    assert(component && !component->owner && "a component joins one object, once");
    component->owner = this;
    components.push_back(component);

    // Kind tests on the dynamic type, so subclasses count as their base kind.
    if (Behavior* behavior = dynamic_cast<Behavior*>(component))
    {
        behaviors.push_back(behavior);
        behavior->position = position;
        behavior->sprite = sprite;
    }
    Position2dComponent* newPosition = dynamic_cast<Position2dComponent*>(component);
    SpriteComponent* newSprite = dynamic_cast<SpriteComponent*>(component);
    if (newPosition && !position)
        position = newPosition;
    if (newSprite && !sprite)
        sprite = newSprite;
    for (Behavior* behavior : behaviors)
    {
        if (newPosition && !behavior->position)
            behavior->position = newPosition;
        if (newSprite && !behavior->sprite)
            behavior->sprite = newSprite;
    }
}

void GameObject::AddChild(GameObject* child)
{
    assert(child && child != this && !child->parent && "a child joins one parent, once");
    child->parent = this;
    children.push_back(child);
}
