#include "input/ActionNames.h"

#include "shell/Game.h"

const char** CreateActionNames()
{
    return new const char* [ActionCount]
    { "MoveUp", "MoveDown", "MoveLeft", "MoveRight", "AddObjects", "RemoveObjects" };
}

const char* ActionFromName(const std::string& name)
{
    for (int i = 0; i < ActionCount; ++i)
    {
        if (name == Game::ActionNames[i])
            return Game::ActionNames[i];
    }
    return nullptr;
}
