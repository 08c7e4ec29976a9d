#include "audio/engine/AudioChannel.h"

#include "audio/engine/AudioEngineState.h"
#include "audio/engine/Mixer.h"

#include <algorithm>

namespace
{
// The slot the handle names, or null when the handle is stale, unset or its
// voice has ended.
ChannelSlot* Find(const AudioChannel& channel)
{
    AudioEngineState* state = channel.engine;
    if (!state)
        return nullptr;
    if (channel.slot >= state->slots.size())
        return nullptr;
    ChannelSlot& slot = state->slots[channel.slot];
    if (slot.generation != channel.generation || !state->Live(channel.slot))
        return nullptr;
    return &slot;
}

AudioResult Send(const AudioChannel& channel, MixerCommand command)
{
    command.slot = channel.slot;
    command.generation = channel.generation;
    return channel.engine->Send(command) ? AudioResult::Ok : AudioResult::OutputFailed;
}
} // namespace

AudioResult AudioChannel::SetVolume(float volume)
{
    ChannelSlot* slot = Find(*this);
    if (!slot)
        return AudioResult::InvalidHandle;
    // Negative and NaN volumes are silence; the loudest is held finite, so a
    // finite sample never becomes infinity or NaN in the mix.
    if (!(volume >= 0.0f))
        volume = 0.0f;
    volume = std::min(volume, MaxVolume);
    slot->target = volume;
    MixerCommand command;
    command.kind = MixerCommand::SetVolume;
    command.volume = volume;
    return Send(*this, command);
}

AudioResult AudioChannel::SetPaused(bool paused)
{
    ChannelSlot* slot = Find(*this);
    if (!slot)
        return AudioResult::InvalidHandle;
    slot->paused = paused;
    slot->sounded = slot->sounded || !paused;
    MixerCommand command;
    command.kind = MixerCommand::SetPaused;
    command.paused = paused;
    return Send(*this, command);
}

AudioResult AudioChannel::IsPlaying(bool* playing) const
{
    const bool live = Find(*this) != nullptr;
    if (playing)
        *playing = live;
    return live ? AudioResult::Ok : AudioResult::InvalidHandle;
}

AudioResult AudioChannel::GetVolume(float* volume) const
{
    ChannelSlot* slot = Find(*this);
    if (!slot)
        return AudioResult::InvalidHandle;
    if (volume)
        *volume = slot->target;
    return AudioResult::Ok;
}

AudioResult AudioChannel::Stop()
{
    ChannelSlot* slot = Find(*this);
    if (!slot)
        return AudioResult::InvalidHandle;
    // Never heard or paused: it ends at once. Else it fades out over the
    // ramp and plays until the mixer says it has ended.
    if (!slot->sounded || slot->paused)
        slot->active = false;
    else
        slot->target = 0.0f;
    MixerCommand command;
    command.kind = MixerCommand::Stop;
    return Send(*this, command);
}
