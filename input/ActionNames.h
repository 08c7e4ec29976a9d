#pragma once

#include <cstddef>
#include <string>

// The game's input actions. An action is identified by its entry in the
// process-wide table Game::ActionNames (the pointer to its name text), not by
// the text; the null entry stands for no action.
enum ActionIndex
{
    MoveUp = 0,
    MoveDown,
    MoveLeft,
    MoveRight,
    AddObjects,
    RemoveObjects,
    ActionCount,
};

// The texts of the action names, in ActionIndex order, a fixed stride apart,
// so that the place of one of them follows from its address.
constexpr std::size_t ActionNameStride = 16;
extern const char ActionNameTexts[ActionCount][ActionNameStride];

// A new heap array of the six action names (pointers to ActionNameTexts), in
// ActionIndex order.
const char** CreateActionNames();

// The index of the action whose name equals `name` exactly, or -1.
int ActionIndexFromName(const std::string& name);

// The entry of Game::ActionNames whose text equals the name exactly, or null.
const char* ActionFromName(const std::string& name);
