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
        if (int index = ActionIndexOfEntry(action); index >= 0)
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

void InputManager::AnswerAll() const
{
    downActions = 0;
    for (int i = 0; i < ActionCount; ++i)
        downActions |= AnyKeyDown(i, currentKeys) ? 1u << i : 0u;
    answeredChange = changes;
}
