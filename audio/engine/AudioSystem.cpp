#include "audio/engine/AudioSystem.h"

#include "audio/engine/AudioEngineState.h"
#include "audio/engine/DeviceOutput.h"
#include "audio/engine/Mixer.h"
#include "audio/engine/OfflineOutput.h"
#include "audio/engine/Resampler.h"
#include "audio/engine/SoundFileReader.h"
#include "audio/engine/StreamDecoder.h"

#include <cassert>
#include <new>

AudioResult AudioSystem::Create(AudioSystem** system)
{
    if (!system)
        return AudioResult::InvalidParam;
    *system = new AudioSystem();
    return AudioResult::Ok;
}

AudioResult AudioSystem::Init(int maxChannels, uint32_t initFlags, void*)
{
    if (state || maxChannels < 1 || maxChannels > 4096)
        return AudioResult::InvalidParam;
    state = new AudioEngineState();
    state->slots.resize(static_cast<std::size_t>(maxChannels));
    AudioResult result = AudioResult::Ok;
    if (initFlags & AudioInitOffline)
        state->output = new OfflineOutput();
    else if (!(state->output = DeviceOutput::Open()))
    {
        // Calls still work and voices still end; nothing is heard.
        state->output = DeviceOutput::WithoutDevice();
        result = AudioResult::OutputFailed;
    }
    state->mixer = new Mixer(maxChannels, state->output->SampleRate());
    state->output->Start(state->mixer);
    return result;
}

AudioResult AudioSystem::Update()
{
    if (!state)
        return AudioResult::NotInitialized;
    state->DeleteFinished();
    return AudioResult::Ok;
}

AudioResult AudioSystem::CreateSound(const char* path, uint32_t mode, AudioSound** sound)
{
    if (sound)
        *sound = nullptr;
    if (!path || !sound)
        return AudioResult::InvalidParam;
    if (!state)
        return AudioResult::NotInitialized;
    SoundRecord* record = new SoundRecord();
    record->path = path;
    record->stream = (mode & AudioModeStream) != 0;
    record->loopCount = (mode & AudioModeLoop) ? -1 : 0;
    if (record->stream)
    {
        SoundFileReader reader;
        AudioResult result = reader.Open(path);
        if (result != AudioResult::Ok)
        {
            delete record;
            return result;
        }
        record->sourceRate = reader.SampleRate();
        record->sourceFrames = reader.Frames();
    }
    else
    {
        // A sound too large for memory is refused like any unplayable file.
        try
        {
            std::vector<float> frames;
            AudioResult result = ReadWholeFile(path, &frames, &record->sourceRate);
            if (result != AudioResult::Ok)
            {
                delete record;
                return result;
            }
            record->sourceFrames = static_cast<int64_t>(frames.size() / 2);
            const int outputRate = state->mixer->SampleRate();
            if (record->sourceFrames * outputRate / record->sourceRate > MaxSampleFrames)
            {
                delete record;
                return AudioResult::FileUnreadable;
            }
            record->frames = ResampleAll(frames, record->sourceRate, outputRate);
        }
        catch (const std::bad_alloc&)
        {
            delete record;
            return AudioResult::FileUnreadable;
        }
    }
    AudioSound* created = new AudioSound();
    created->engine = state;
    created->record = record;
    state->sounds.push_back(created);
    *sound = created;
    return AudioResult::Ok;
}

AudioResult AudioSystem::PlaySound(AudioSound* sound, bool paused, AudioChannel* channel)
{
    if (channel)
        *channel = AudioChannel();
    if (!sound || !sound->record)
        return AudioResult::InvalidParam;
    if (!state)
        return AudioResult::NotInitialized;
    assert(sound->engine == state && "a sound plays on the engine that made it");
    SoundRecord* record = sound->record;

    // A free slot, else the quietest (then oldest) one that plays no stream.
    std::vector<ChannelSlot>& slots = state->slots;
    ChannelSlot* chosen = nullptr;
    for (uint32_t i = 0; i < slots.size() && !chosen; ++i)
    {
        if (!state->Live(i))
            chosen = &slots[i];
    }
    if (!chosen)
    {
        for (ChannelSlot& slot : slots)
        {
            if (slot.stream)
                continue;
            if (!chosen || slot.target < chosen->target ||
                (slot.target == chosen->target && slot.order < chosen->order))
                chosen = &slot;
        }
        if (!chosen)
            return AudioResult::OutOfChannels;
    }

    MixerCommand command;
    command.kind = MixerCommand::Play;
    command.paused = paused;
    command.slot = static_cast<uint32_t>(chosen - slots.data());
    command.generation = chosen->generation + 1;
    command.loopCount = record->loopCount;
    if (record->stream)
    {
        // Ended decoders go first, so the mixer's return queue always has room.
        state->DeleteFinished();
        StreamDecoder* decoder = new StreamDecoder(state->mixer->SampleRate(), record->loopStart,
                                                   record->loopEnd, record->loopCount);
        AudioResult result = decoder->Open(record->path);
        if (result != AudioResult::Ok)
        {
            delete decoder;
            return result;
        }
        // The decoder's own thread makes the first frames: the caller does
        // not wait for them (offline, rendering fills the decoders).
        if (state->output->PullsOnItsOwnThread())
            decoder->StartThread();
        command.decoder = decoder;
    }
    else
    {
        command.frames = record->frames.data();
        command.frameCount = static_cast<int64_t>(record->frames.size() / 2);
    }
    if (!state->Send(command))
    {
        delete command.decoder;
        return AudioResult::OutputFailed;
    }
    chosen->active = true;
    chosen->generation = command.generation;
    chosen->sound = sound;
    chosen->stream = record->stream;
    chosen->paused = paused;
    chosen->sounded = !paused;
    chosen->target = 1.0f;
    chosen->order = state->nextOrder++;
    if (channel)
    {
        channel->engine = state;
        channel->slot = command.slot;
        channel->generation = command.generation;
    }
    return AudioResult::Ok;
}

AudioResult AudioSystem::RenderOffline(float* interleavedStereo, int frames)
{
    if (!state)
        return AudioResult::NotInitialized;
    if (!interleavedStereo || frames < 0 || !state->output->Render(interleavedStereo, frames))
        return AudioResult::InvalidParam;
    return AudioResult::Ok;
}

int AudioSystem::SampleRate() const
{
    return state ? state->mixer->SampleRate() : 0;
}

AudioResult AudioSystem::Release()
{
    if (state)
    {
        state->Shutdown();
        delete state;
    }
    delete this;
    return AudioResult::Ok;
}
