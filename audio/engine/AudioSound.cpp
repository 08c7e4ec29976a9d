#include "audio/engine/AudioSound.h"

#include "audio/engine/AudioEngineState.h"
#include "audio/engine/AudioSystem.h"

#include <algorithm>

AudioResult AudioSound::SetLoopCount(int count)
{
    if (count < -1)
        return AudioResult::InvalidParam;
    static_cast<SoundRecord*>(data)->loopCount = count;
    return AudioResult::Ok;
}

AudioResult AudioSound::SetLoopPoints(uint32_t startFrame, uint32_t endFrame)
{
    SoundRecord* record = static_cast<SoundRecord*>(data);
    if (endFrame <= startFrame)
        return AudioResult::InvalidParam;
    if (record->sourceFrames >= 0 && static_cast<int64_t>(endFrame) >= record->sourceFrames)
        return AudioResult::InvalidParam;
    record->loopStart = startFrame;
    record->loopEnd = endFrame;
    return AudioResult::Ok;
}

AudioResult AudioSound::Release()
{
    // The channels stop under the lock, so the mixer reads the sound no more
    // once this returns and the memory can go at once.
    AudioEngineState* state = system ? system->state : nullptr;
    if (state)
    {
        std::lock_guard<std::mutex> guard(state->lock);
        for (ChannelSlot& slot : state->slots)
        {
            if (slot.active && slot.sound == this)
                state->FreeSlot(slot);
        }
    }
    if (state)
    {
        system->Update();
        std::vector<AudioSound*>& sounds = state->sounds;
        sounds.erase(std::remove(sounds.begin(), sounds.end(), this), sounds.end());
    }
    delete static_cast<SoundRecord*>(data);
    delete this;
    return AudioResult::Ok;
}
