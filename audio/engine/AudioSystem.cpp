#include "audio/engine/AudioSystem.h"

#include "audio/engine/AudioEngineState.h"
#include "audio/engine/DeviceOutput.h"
#include "audio/engine/Mixer.h"
#include "audio/engine/OfflineOutput.h"
#include "audio/engine/Resampler.h"
#include "audio/engine/SoundFileReader.h"
#include "audio/engine/StreamDecoder.h"

#include <chrono>
#include <new>
#include <thread>

bool AudioEngineState::Live(uint32_t slot) const
{
    return slots[slot].active && !mixer->Ended(slot, slots[slot].generation);
}

bool AudioEngineState::Send(const MixerCommand& command)
{
    const auto start = std::chrono::steady_clock::now();
    while (!mixer->Send(command))
    {
        // Offline, this thread is the mixing thread: apply what is queued.
        if (!device)
        {
            mixer->ApplyCommands();
            continue;
        }
        // The device takes the queue at its next buffer, a few milliseconds
        // away; a device that has stopped pulling is not waited for.
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(1))
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void AudioEngineState::DeleteFinished()
{
    // Deleting a decoder stops and joins its thread.
    while (StreamDecoder* decoder = mixer->TakeFinishedDecoder())
        delete decoder;
    const uint64_t applied = mixer->Applied();
    for (std::size_t i = 0; i < retiredRecords.size();)
    {
        if (retiredRecords[i].first <= applied)
        {
            delete retiredRecords[i].second;
            retiredRecords[i] = retiredRecords.back();
            retiredRecords.pop_back();
        }
        else
            ++i;
    }
}

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
    int sampleRate = OfflineOutput::Rate;
    if (!(initFlags & AudioInitOffline))
    {
        state->device = DeviceOutput::Open();
        if (state->device)
            sampleRate = state->device->SampleRate();
        else
            result = AudioResult::OutputFailed; // calls still work; nothing is heard
    }
    state->mixer = new Mixer(maxChannels, sampleRate);
    if (state->device)
        state->device->Start(state->mixer);
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
            record->frames = ResampleAll(frames, record->sourceRate, state->mixer->SampleRate());
        }
        catch (const std::bad_alloc&)
        {
            delete record;
            return AudioResult::FileUnreadable;
        }
    }
    AudioSound* created = new AudioSound();
    created->system = this;
    created->data = record;
    state->sounds.push_back(created);
    *sound = created;
    return AudioResult::Ok;
}

AudioResult AudioSystem::PlaySound(AudioSound* sound, bool paused, AudioChannel* channel)
{
    if (channel)
        *channel = AudioChannel();
    if (!sound || !sound->data)
        return AudioResult::InvalidParam;
    if (!state)
        return AudioResult::NotInitialized;
    SoundRecord* record = static_cast<SoundRecord*>(sound->data);

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
        if (state->device)
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
        channel->system = this;
        channel->slot = command.slot;
        channel->generation = command.generation;
    }
    return AudioResult::Ok;
}

AudioResult AudioSystem::RenderOffline(float* interleavedStereo, int frames)
{
    if (!state)
        return AudioResult::NotInitialized;
    if (state->device || !interleavedStereo || frames < 0)
        return AudioResult::InvalidParam;
    OfflineOutput::Render(state->mixer, interleavedStereo, frames);
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
        delete state->device; // the mixer is not called again
        state->mixer->ApplyCommands();
        state->mixer->EndAllVoices();
        state->DeleteFinished();
        delete state->mixer;
        for (auto& retired : state->retiredRecords)
            delete retired.second;
        // Sounds the caller did not release go with the system.
        for (AudioSound* sound : state->sounds)
        {
            delete static_cast<SoundRecord*>(sound->data);
            delete sound;
        }
        delete state;
    }
    delete this;
    return AudioResult::Ok;
}
