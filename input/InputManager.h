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
        ++changes;
    }
    void KeyUp(uint32_t key)
    {
        currentKeys.Clear(key);
        ++changes;
    }

    // True while any key mapped to the action is set in the state. Every
    // object asks the same few questions of the same keys in a frame: the
    // answers for currentKeys are worked out once for each state of the keys.
    bool IsActionDown(const char* action, const KeyState& state) const
    {
        if (&state == &currentKeys && answeredChange == changes)
        {
            const std::size_t place = (reinterpret_cast<uintptr_t>(action) -
                                       reinterpret_cast<uintptr_t>(ActionNameTexts)) /
                                      ActionNameStride;
            if (place < ActionCount && answeredActions[place] == action)
                return (downActions >> place) & 1u;
            for (int i = 0; i < ActionCount; ++i)
            {
                if (answeredActions[i] == action)
                    return (downActions >> i) & 1u;
            }
        }
        return Answer(action, state);
    }

    // The frame copy: previousKeys becomes currentKeys.
    void CopyKeysToPrevious() { previousKeys = currentKeys; }

    KeyState currentKeys;
    KeyState previousKeys;
    std::multimap<const char*, Key> keyMappings;

private:
    bool AnyKeyDown(int action, const KeyState& state) const;
    bool Answer(const char* action, const KeyState& state) const;

    // The actions down in currentKeys (a bit each), worked out when the keys
    // or the mappings had last changed `answeredChange` times.
    uint64_t changes = 0;
    mutable uint64_t answeredChange = UINT64_MAX;
    mutable uint32_t downActions = 0;
    mutable const char* answeredActions[ActionCount] = {}; // Game::ActionNames then
    // The keys of each action of Game::ActionNames in mapping order, kept with
    // keyMappings so that the per-object queries need no tree lookup.
    std::vector<uint32_t> actionKeys[ActionCount];
};
