#include "audio/engine/AudioChannel.h"

#include "audio/engine/AudioEngineState.h"
#include "audio/engine/AudioSystem.h"

namespace
{
// The slot the handle names, or null when the handle is stale or unset.
ChannelSlot* Find(const AudioChannel& channel)
{
    if (!channel.system || !channel.system->state)
        return nullptr;
    auto& slots = channel.system->state->slots;
    if (channel.slot >= slots.size())
        return nullptr;
    ChannelSlot& slot = slots[channel.slot];
    if (!slot.active || slot.generation != channel.generation)
        return nullptr;
    return &slot;
}
} // namespace

AudioResult AudioChannel::SetVolume(float volume)
{
    if (!system || !system->state)
        return AudioResult::InvalidHandle;
    std::lock_guard<std::mutex> guard(system->state->lock);
    ChannelSlot* slot = Find(*this);
    if (!slot)
        return AudioResult::InvalidHandle;
    if (!(volume >= 0.0f))
        volume = 0.0f;
    slot->target = volume;
    if (!slot->sounded)
        slot->gain = volume; // not heard yet: applies from the first sample
    return AudioResult::Ok;
}

AudioResult AudioChannel::SetPaused(bool paused)
{
    if (!system || !system->state)
        return AudioResult::InvalidHandle;
    std::lock_guard<std::mutex> guard(system->state->lock);
    ChannelSlot* slot = Find(*this);
    if (!slot)
        return AudioResult::InvalidHandle;
    slot->paused = paused;
    if (!paused)
        slot->sounded = true;
    return AudioResult::Ok;
}

AudioResult AudioChannel::IsPlaying(bool* playing) const
{
    if (playing)
        *playing = false;
    if (!system || !system->state)
        return AudioResult::InvalidHandle;
    std::lock_guard<std::mutex> guard(system->state->lock);
    if (!Find(*this))
        return AudioResult::InvalidHandle;
    if (playing)
        *playing = true;
    return AudioResult::Ok;
}

AudioResult AudioChannel::GetVolume(float* volume) const
{
    if (!system || !system->state)
        return AudioResult::InvalidHandle;
    std::lock_guard<std::mutex> guard(system->state->lock);
    ChannelSlot* slot = Find(*this);
    if (!slot)
        return AudioResult::InvalidHandle;
    if (volume)
        *volume = slot->target;
    return AudioResult::Ok;
}

AudioResult AudioChannel::GetPaused(bool* paused) const
{
    if (!system || !system->state)
        return AudioResult::InvalidHandle;
    std::lock_guard<std::mutex> guard(system->state->lock);
    ChannelSlot* slot = Find(*this);
    if (!slot)
        return AudioResult::InvalidHandle;
    if (paused)
        *paused = slot->paused;
    return AudioResult::Ok;
}

AudioResult AudioChannel::Stop()
{
    if (!system || !system->state)
        return AudioResult::InvalidHandle;
    std::lock_guard<std::mutex> guard(system->state->lock);
    ChannelSlot* slot = Find(*this);
    if (!slot)
        return AudioResult::InvalidHandle;
    if (!slot->sounded || slot->paused)
        system->state->FreeSlot(*slot);
    else
    {
        slot->stopping = true; // fades out over the ramp, then frees
        slot->target = 0.0f;
    }
    return AudioResult::Ok;
}
