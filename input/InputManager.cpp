#include "input/InputManager.h"

#include "content/ContentJson.h"
#include "input/ActionNames.h"
#include "shell/Game.h"

namespace
{
// The action's entry in Game::ActionNames, or -1 for none of them.
int ActionIndexOf(const char* action)
{
    for (int i = 0; action && Game::ActionNames && i < ActionCount; ++i)
    {
        if (Game::ActionNames[i] == action)
            return i;
    }
    return -1;
}
} // namespace

void InputManager::LoadKeyMappings(const boost::filesystem::path& file)
{
    boost::property_tree::ptree tree = ReadContentJson(file);
    for (const auto& member : tree)
    {
        const char* action = ActionFromName(member.first);
        Key key = KeyFromName(ReadNodeText(member.second));
        // A multimap inserts after the entries already under the same action.
        keyMappings.insert({action, key});
        if (int index = ActionIndexOf(action); index >= 0)
            actionKeys[index].push_back(static_cast<uint32_t>(key));
    }
    ++changes;
}

bool InputManager::AnyKeyDown(int action, const KeyState& state) const
{
    for (uint32_t key : actionKeys[action])
    {
        if (state.Test(key))
            return true;
    }
    return false;
}

bool InputManager::Answer(const char* action, const KeyState& state) const
{
    // Mappings are only ever made for entries of the table, so an action
    // that is none of them has no key.
    const int index = ActionIndexOf(action);
    if (index < 0)
        return false;
    if (&state != &currentKeys)
        return AnyKeyDown(index, state);
    downActions = 0;
    for (int i = 0; i < ActionCount; ++i)
    {
        downActions |= AnyKeyDown(i, currentKeys) ? 1u << i : 0u;
        answeredActions[i] = Game::ActionNames[i];
    }
    answeredChange = changes;
    return (downActions >> index) & 1u;
}
