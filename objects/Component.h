#pragma once

class GameObject;

// Base of every component. A component belongs to the one object it was
// added to and lives exactly as long as that object.
class Component
{
public:
    virtual ~Component() = default;

    GameObject* owner = nullptr; // not owned
};
