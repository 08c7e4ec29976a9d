#include "input/InputManager.h"

#include "content/ContentJson.h"
#include "input/ActionNames.h"
#include "input/GamepadControl.h"

void InputManager::LoadKeyMappings(const boost::filesystem::path& file)
{
    // The answers follow the mappings made, however the reading ends.
    struct Answering
    {
        InputManager* input;
        ~Answering() { input->AnswerAll(); }
    } answering{this};
    boost::property_tree::ptree tree = ReadContentJson(file);
    for (const auto& member : tree)
    {
        const char* action = ActionFromName(member.first);
        const std::string name = ReadNodeText(member.second);
        Key key = KeyFromName(name);
        // A pad's control stands for its position, carried as a key value.
        if (key == Key::None)
        {
            if (uint32_t control = GamepadControlFromName(name))
                key = static_cast<Key>(control);
        }
        // A multimap inserts after the entries already under the same action.
        keyMappings.insert({action, key});
        if (int index = ActionIndexOfEntry(action); index >= 0)
            actionKeys[index].push_back(static_cast<uint32_t>(key));
    }
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

void InputManager::AnswerAll()
{
    uint32_t down = 0;
    for (int i = 0; i < ActionCount; ++i)
        down |= AnyKeyDown(i, currentKeys) ? 1u << i : 0u;
    downActions = down;
}
