#include "input/InputManager.h"

#include "content/ContentJson.h"
#include "input/ActionNames.h"

void InputManager::LoadKeyMappings(const boost::filesystem::path& file)
{
    boost::property_tree::ptree tree = ReadContentJson(file);
    for (const auto& member : tree)
    {
        const char* action = ActionFromName(member.first);
        Key key = KeyFromName(ReadNodeText(member.second));
        // A multimap inserts after the entries already under the same action.
        keyMappings.insert({action, key});
    }
}

bool InputManager::IsActionDown(const char* action, const KeyState& state) const
{
    if (!action)
        return false;
    auto range = keyMappings.equal_range(action);
    for (auto it = range.first; it != range.second; ++it)
    {
        if (state.Test(static_cast<uint32_t>(it->second)))
            return true;
    }
    return false;
}
