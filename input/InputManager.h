#pragma once

#include "input/ActionNames.h"
#include "input/Key.h"
#include "input/KeyState.h"

#include <boost/filesystem/path.hpp>

#include <cstdint>
#include <map>
#include <vector>

// The input service: which keys are held, the previous frame's copy, and the
// mapping from actions (entries of Game::ActionNames) to keys.
class InputManager
{
public:
    virtual ~InputManager() = default;

    // Adds one mapping per member of the file, in document order, after the
    // existing ones. Reader errors pass through.
    void LoadKeyMappings(const boost::filesystem::path& file);

    // currentKeys changes through these two only.
    void KeyDown(uint32_t key)
    {
        currentKeys.Set(key);
        AnswerAll();
    }
    void KeyUp(uint32_t key)
    {
        currentKeys.Clear(key);
        AnswerAll();
    }

    // True while any key mapped to the action is set in the state. Every
    // object asks the same few questions of the same keys in a frame: the
    // answers for currentKeys are worked out whenever the keys or the
    // mappings change, and kept by action index.
    bool IsActionDown(const char* action, const KeyState& state) const
    {
        // Mappings are only ever made for entries of the table: any other
        // pointer is no action held.
        if (&state == &currentKeys)
        {
            // Mostly no key is held, and every question has one answer.
            if (downActions == 0)
                return false;
            const int index = ActionIndexOfEntry(action);
            return index >= 0 && ((downActions >> index) & 1u);
        }
        const int index = ActionIndexOfEntry(action);
        return index >= 0 && AnyKeyDown(index, state);
    }

    // The frame copy: previousKeys becomes currentKeys.
    void CopyKeysToPrevious() { previousKeys = currentKeys; }

    KeyState currentKeys;
    KeyState previousKeys;
    std::multimap<const char*, Key> keyMappings;

private:
    bool AnyKeyDown(int action, const KeyState& state) const;
    void AnswerAll();

    // The actions down in currentKeys, a bit each by action index.
    uint32_t downActions = 0;
    // The keys of each action of Game::ActionNames in mapping order, kept with
    // keyMappings so that the per-object queries need no tree lookup.
    std::vector<uint32_t> actionKeys[ActionCount];
};
