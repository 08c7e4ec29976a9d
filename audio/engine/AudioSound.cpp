#include "audio/engine/AudioSound.h"

#include "audio/engine/AudioEngineState.h"
#include "audio/engine/Mixer.h"

#include <algorithm>
#include <cstdint>

AudioResult AudioSound::SetLoopCount(int count)
{
    if (count < -1)
        return AudioResult::InvalidParam;
    record->loopCount = count;
    return AudioResult::Ok;
}

AudioResult AudioSound::SetLoopPoints(uint32_t startFrame, uint32_t endFrame)
{
    // A sample is held at the output rate, where a source frame has no exact
    // place: only streams take loop points.
    if (!record->stream)
        return AudioResult::Unsupported;
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
    AudioEngineState* state = engine;
    if (!state)
    {
        delete record;
        delete this;
        return AudioResult::Ok;
    }
    // Its voices end at once; the record goes when the mixer has taken
    // those commands, as it may read the frames until then.
    uint64_t safeAfter = 0;
    for (uint32_t i = 0; i < state->slots.size(); ++i)
    {
        ChannelSlot& slot = state->slots[i];
        if (slot.sound != this)
            continue;
        if (state->Live(i))
        {
            MixerCommand command;
            command.kind = MixerCommand::StopNow;
            command.slot = i;
            command.generation = slot.generation;
            if (!state->Send(command))
                safeAfter = UINT64_MAX; // a voice still plays it: kept until the system goes
        }
        slot.active = false;
        slot.sound = nullptr;
    }
    state->retiredRecords.emplace_back(std::max(safeAfter, state->mixer->Sent()), record);
    state->DeleteFinished();
    std::vector<AudioSound*>& sounds = state->sounds;
    sounds.erase(std::remove(sounds.begin(), sounds.end(), this), sounds.end());
    delete this;
    return AudioResult::Ok;
}
