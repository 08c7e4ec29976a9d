#pragma once

#include "objects/SceneArena.h"

class GameObject;

// Base of every component. A component belongs to the one object it was
// added to and lives exactly as long as that object.
class Component
{
public:
    virtual ~Component() = default;

    // Components live on the scene's arena, beside their objects.
    static void* operator new(std::size_t bytes)
    {
        return SceneArena::Allocate(ScenePiece::Component, bytes);
    }
    static void operator delete(void* component, std::size_t bytes)
    {
        SceneArena::Free(ScenePiece::Component, component, bytes);
    }
    // Subclasses aligned to more than the arena's pieces.
    static void* operator new(std::size_t bytes, std::align_val_t alignment)
    {
        return SceneArena::Allocate(ScenePiece::Component, bytes, alignment);
    }
    static void operator delete(void* component, std::size_t bytes, std::align_val_t alignment)
    {
        SceneArena::Free(ScenePiece::Component, component, bytes, alignment);
    }

    GameObject* owner = nullptr; // not owned
};
