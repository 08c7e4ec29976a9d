#pragma once

#include "objects/IComponentShortcuts.h"
#include "objects/ObjectList.h"
#include "objects/SceneArena.h"

class Behavior;
class Component;

// A node of the scene tree. It owns its components and its children and
// deletes them, in that order, when it is deleted.
class GameObject : public IComponentShortcuts
{
public:
    GameObject() = default;
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;
    virtual ~GameObject();

    // Takes ownership; indexes behaviours and fills the shortcuts of this
    // object and of its behaviours, whatever the order of addition.
    void AddComponent(Component* component);

    // Takes ownership. The child must have no parent and must not be this object.
    void AddChild(GameObject* child);

    // Objects and their lists live on the scene's arena.
    static void* operator new(std::size_t bytes)
    {
        return SceneArena::Allocate(ScenePiece::Object, bytes);
    }
    static void operator delete(void* object, std::size_t bytes)
    {
        SceneArena::Free(ScenePiece::Object, object, bytes);
    }
    // Subclasses aligned to more than the arena's pieces.
    static void* operator new(std::size_t bytes, std::align_val_t alignment)
    {
        return SceneArena::Allocate(ScenePiece::Object, bytes, alignment);
    }
    static void operator delete(void* object, std::size_t bytes, std::align_val_t alignment)
    {
        SceneArena::Free(ScenePiece::Object, object, bytes, alignment);
    }

    template <typename T> using List = ObjectList<T>;
    List<Component*> components;  // owning, in order of addition
    List<Behavior*> behaviors;    // the behaviours among components
    List<GameObject*> children;   // owning, in order of addition
    GameObject* parent = nullptr; // not owned
};
