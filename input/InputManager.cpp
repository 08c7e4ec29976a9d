#include "input/InputManager.h"

#include "content/ContentJson.h"
#include "input/ActionNames.h"
#include "shell/Game.h"

void InputManager::LoadKeyMappings(const boost::filesystem::path& file)
{
    boost::property_tree::ptree tree = ReadContentJson(file);
    for (const auto& member : tree)
    {
        const char* action = ActionFromName(member.first);
        Key key = KeyFromName(ReadNodeText(member.second));
        // A multimap inserts after the entries already under the same action.
        keyMappings.insert({action, key});
        for (int i = 0; action && Game::ActionNames && i < ActionCount; ++i)
        {
            if (Game::ActionNames[i] == action)
                actionKeys[i].push_back(static_cast<uint32_t>(key));
        }
    }
}

bool InputManager::IsActionDown(const char* action, const KeyState& state) const
{
    if (!action)
        return false;
    for (int i = 0; Game::ActionNames && i < ActionCount; ++i)
    {
        if (Game::ActionNames[i] != action)
            continue;
        for (uint32_t key : actionKeys[i])
        {
            if (state.Test(key))
                return true;
        }
        return false;
    }
    auto range = keyMappings.equal_range(action);
    for (auto it = range.first; it != range.second; ++it)
    {
        if (state.Test(static_cast<uint32_t>(it->second)))
            return true;
    }
    return false;
}
