#include "input/ActionNames.h"

#include "shell/Game.h"

const char ActionNameTexts[ActionCount][ActionNameStride] = {
    "MoveUp", "MoveDown", "MoveLeft", "MoveRight", "AddObjects", "RemoveObjects"};

const char** CreateActionNames()
{
    const char** names = new const char*[ActionCount];
    for (int i = 0; i < ActionCount; ++i)
        names[i] = ActionNameTexts[i];
    return names;
}

int ActionIndexFromName(const std::string& name)
{
    for (int i = 0; i < ActionCount; ++i)
    {
        if (name == ActionNameTexts[i])
            return i;
    }
    return -1;
}

const char* ActionFromName(const std::string& name)
{
    const int index = ActionIndexFromName(name);
    return index >= 0 ? Game::ActionNames[index] : nullptr;
}
