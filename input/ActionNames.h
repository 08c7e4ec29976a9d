#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
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
// so that the index of an entry (which points at one of them) follows from
// its address.
constexpr std::size_t ActionNameStride = 16;
extern const char ActionNameTexts[ActionCount][ActionNameStride];

// The index of an entry of Game::ActionNames, or -1 for the null entry and
// any pointer that is not an entry.
inline int ActionIndexOfEntry(const char* entry)
{
    const std::uintptr_t offset =
        reinterpret_cast<std::uintptr_t>(entry) - reinterpret_cast<std::uintptr_t>(ActionNameTexts);
    // Rotating the stride's bits to the top makes any offset off the stride
    // huge, so one comparison tests both the range and the stride.
    static_assert(ActionNameStride == 16);
    const std::uintptr_t index = std::rotr(offset, 4);
    return index < ActionCount ? static_cast<int>(index) : -1;
}

// A new heap array of the six action names (pointers to ActionNameTexts), in
// ActionIndex order.
const char** CreateActionNames();

// The index of the action whose name equals `name` exactly, or -1.
int ActionIndexFromName(const std::string& name);

// The entry of Game::ActionNames whose text equals the name exactly, or null.
const char* ActionFromName(const std::string& name);
