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

// Runs `change` on the handle's slot under the engine's lock; InvalidHandle
// when the handle is unset or stale.
template <typename Change> AudioResult WithSlot(const AudioChannel& channel, Change change)
{
    if (!channel.system || !channel.system->state)
        return AudioResult::InvalidHandle;
    std::lock_guard<std::mutex> guard(channel.system->state->lock);
    ChannelSlot* slot = Find(channel);
    if (!slot)
        return AudioResult::InvalidHandle;
    change(*slot);
    return AudioResult::Ok;
}
} // namespace

AudioResult AudioChannel::SetVolume(float volume)
{
    if (!(volume >= 0.0f))
        volume = 0.0f;
    return WithSlot(*this,
                    [volume](ChannelSlot& slot)
                    {
                        slot.target = volume;
                        if (!slot.sounded)
                            slot.gain = volume; // not heard yet: applies from the first sample
                    });
}

AudioResult AudioChannel::SetPaused(bool paused)
{
    return WithSlot(*this,
                    [paused](ChannelSlot& slot)
                    {
                        slot.paused = paused;
                        if (!paused)
                            slot.sounded = true;
                    });
}

AudioResult AudioChannel::IsPlaying(bool* playing) const
{
    if (playing)
        *playing = false;
    return WithSlot(*this,
                    [playing](ChannelSlot&)
                    {
                        if (playing)
                            *playing = true;
                    });
}

AudioResult AudioChannel::GetVolume(float* volume) const
{
    return WithSlot(*this,
                    [volume](ChannelSlot& slot)
                    {
                        if (volume)
                            *volume = slot.target;
                    });
}

AudioResult AudioChannel::GetPaused(bool* paused) const
{
    return WithSlot(*this,
                    [paused](ChannelSlot& slot)
                    {
                        if (paused)
                            *paused = slot.paused;
                    });
}

AudioResult AudioChannel::Stop()
{
    AudioEngineState* state = system ? system->state : nullptr;
    return WithSlot(*this,
                    [state](ChannelSlot& slot)
                    {
                        if (!slot.sounded || slot.paused)
                            state->FreeSlot(slot);
                        else
                        {
                            slot.stopping = true; // fades out over the ramp, then frees
                            slot.target = 0.0f;
                        }
                    });
}
