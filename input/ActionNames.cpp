#include "input/ActionNames.h"

#include "shell/Game.h"

namespace
{
const char* const Names[ActionCount] = {"MoveUp",    "MoveDown",   "MoveLeft",
                                        "MoveRight", "AddObjects", "RemoveObjects"};
}

const char** CreateActionNames()
{
    const char** names = new const char*[ActionCount];
    for (int i = 0; i < ActionCount; ++i)
        names[i] = Names[i];
    return names;
}

int ActionIndexFromName(const std::string& name)
{
    for (int i = 0; i < ActionCount; ++i)
    {
        if (name == Names[i])
            return i;
    }
    return -1;
}

const char* ActionFromName(const std::string& name)
{
    const int index = ActionIndexFromName(name);
    return index >= 0 ? Game::ActionNames[index] : nullptr;
}
