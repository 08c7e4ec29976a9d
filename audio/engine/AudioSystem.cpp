#include "audio/engine/AudioSystem.h"

#include "audio/engine/AudioEngineState.h"
#include "audio/engine/Resampler.h"
#include "audio/engine/SoundFileReader.h"
#include "audio/engine/StreamDecoder.h"

#include <SDL.h>
#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <new>

namespace
{
int forcedOfflineRate = 0;

const float KneeStart = 0.8f;

// Linear below the knee, then a smooth approach to full scale: a hundred
// loud voices distort gracefully instead of wrapping.
float SoftClip(float x)
{
    const float magnitude = std::fabs(x);
    if (magnitude <= KneeStart)
        return x;
    const float over = (magnitude - KneeStart) / (1.0f - KneeStart);
    const float limited = KneeStart + (1.0f - KneeStart) * std::tanh(over);
    return x < 0.0f ? -limited : limited;
}

void MixCallback(void* user, Uint8* stream, int bytes)
{
    AudioEngineState* state = static_cast<AudioEngineState*>(user);
    std::lock_guard<std::mutex> guard(state->lock);
    state->Mix(reinterpret_cast<float*>(stream), bytes / static_cast<int>(2 * sizeof(float)));
}

SDL_AudioDeviceID OpenDevice(AudioEngineState* state)
{
    SDL_AudioSpec want = {};
    want.freq = 48000;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = MixCallback;
    want.userdata = state;
    SDL_AudioSpec have = {};
    SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device)
        state->sampleRate = have.freq;
    return device;
}
} // namespace

void AudioEngineState::FreeSlot(ChannelSlot& slot)
{
    if (slot.decoder)
        finishedDecoders.push_back(slot.decoder); // capacity reserved: no allocation
    slot.decoder = nullptr;
    slot.active = false;
    slot.sound = nullptr;
    ++slot.generation;
}

void AudioEngineState::Mix(float* out, int frames)
{
    std::memset(out, 0, static_cast<std::size_t>(frames) * 2 * sizeof(float));
    for (ChannelSlot& slot : slots)
    {
        if (!slot.active || slot.paused)
            continue;
        SoundRecord* record = static_cast<SoundRecord*>(slot.sound->data);
        for (int i = 0; i < frames; ++i)
        {
            float left = 0.0f;
            float right = 0.0f;
            if (slot.decoder)
            {
                // done is read first: once it is seen, every frame written
                // before it is in the ring, so an empty ring means the end.
                const bool finished = slot.decoder->done;
                if (!slot.decoder->ring.Pop(&left, &right))
                {
                    if (finished)
                    {
                        FreeSlot(slot);
                        break;
                    }
                    continue; // the decoder is behind: silence, never a wait
                }
            }
            else
            {
                const int64_t count = static_cast<int64_t>(record->frames.size() / 2);
                if (slot.position >= count)
                {
                    FreeSlot(slot);
                    break;
                }
                left = record->frames[2 * slot.position];
                right = record->frames[2 * slot.position + 1];
                ++slot.position;
                if (slot.position >= count && slot.loopsLeft != 0)
                {
                    if (slot.loopsLeft > 0)
                        --slot.loopsLeft;
                    slot.position = 0;
                }
            }
            if (slot.gain != slot.target)
            {
                const float difference = slot.target - slot.gain;
                slot.gain += std::fabs(difference) <= rampStep
                                 ? difference
                                 : (difference > 0 ? rampStep : -rampStep);
            }
            out[2 * i] += left * slot.gain;
            out[2 * i + 1] += right * slot.gain;
            if (slot.stopping && slot.gain == 0.0f)
            {
                FreeSlot(slot);
                break;
            }
        }
    }
    for (int i = 0; i < frames * 2; ++i)
        out[i] = SoftClip(out[i]);
}

AudioResult AudioSystem::Create(AudioSystem** system)
{
    if (!system)
        return AudioResult::InvalidParam;
    *system = new AudioSystem();
    return AudioResult::Ok;
}

void AudioSystem::ForceOfflineOutput(int sampleRate)
{
    forcedOfflineRate = sampleRate;
}

AudioResult AudioSystem::Init(int maxChannels, uint32_t initFlags, void*)
{
    if (state || maxChannels < 1 || maxChannels > 4096)
        return AudioResult::InvalidParam;
    state = new AudioEngineState();
    state->slots.resize(static_cast<std::size_t>(maxChannels));
    state->finishedDecoders.reserve(static_cast<std::size_t>(maxChannels) * 2);
    state->releasing.reserve(static_cast<std::size_t>(maxChannels) * 2);
    state->offline = forcedOfflineRate > 0 || (initFlags & AudioInitOffline);
    if (state->offline)
    {
        state->sampleRate = forcedOfflineRate > 0 ? forcedOfflineRate : 48000;
        state->rampStep = 1.0f / (0.004f * state->sampleRate);
        return AudioResult::Ok;
    }
    AudioResult result = AudioResult::Ok;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
        state->device = OpenDevice(state);
    if (!state->device)
    {
        // No sound card: the dummy driver consumes audio at real-time pace,
        // so the game runs the same everywhere.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
            state->device = OpenDevice(state);
        if (!state->device)
            result = AudioResult::OutputFailed;
    }
    state->rampStep = 1.0f / (0.004f * state->sampleRate);
    if (state->device)
        SDL_PauseAudioDevice(state->device, 0);
    return result;
}

AudioResult AudioSystem::Update()
{
    if (!state)
        return AudioResult::NotInitialized;
    // The two lists trade places and keep their capacity: no allocation.
    {
        std::lock_guard<std::mutex> guard(state->lock);
        state->releasing.swap(state->finishedDecoders);
    }
    for (StreamDecoder* decoder : state->releasing)
        delete decoder;
    state->releasing.clear();
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
        SF_INFO info = {};
        if (SNDFILE* file = sf_open(path, SFM_READ, &info))
        {
            record->sourceFrames = info.frames;
            sf_close(file);
        }
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
            record->frames = ResampleAll(frames, record->sourceRate, state->sampleRate);
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

    StreamDecoder* decoder = nullptr;
    if (record->stream)
    {
        decoder = new StreamDecoder(state->sampleRate, record->loopStart, record->loopEnd,
                                    record->loopCount);
        AudioResult result = decoder->Open(record->path);
        if (result != AudioResult::Ok)
        {
            delete decoder;
            return result;
        }
        // The decoder's own thread makes the first frames: the caller does
        // not wait for them (offline, rendering fills the decoders).
        if (!state->offline)
            decoder->StartThread();
    }

    std::lock_guard<std::mutex> guard(state->lock);
    // A free slot, else the quietest (then oldest) one that plays no stream.
    ChannelSlot* chosen = nullptr;
    for (ChannelSlot& slot : state->slots)
    {
        if (!slot.active)
        {
            chosen = &slot;
            break;
        }
    }
    if (!chosen)
    {
        for (ChannelSlot& slot : state->slots)
        {
            if (slot.decoder)
                continue;
            if (!chosen || slot.target < chosen->target ||
                (slot.target == chosen->target && slot.order < chosen->order))
                chosen = &slot;
        }
        if (!chosen)
        {
            delete decoder;
            return AudioResult::OutOfChannels;
        }
        state->FreeSlot(*chosen);
    }
    chosen->active = true;
    chosen->sound = sound;
    chosen->decoder = decoder;
    chosen->position = 0;
    chosen->loopsLeft = record->loopCount;
    chosen->paused = paused;
    chosen->sounded = !paused;
    chosen->stopping = false;
    chosen->gain = chosen->target = 1.0f;
    chosen->order = state->nextOrder++;
    if (channel)
    {
        channel->system = this;
        channel->slot = static_cast<uint32_t>(chosen - state->slots.data());
        channel->generation = chosen->generation;
    }
    return AudioResult::Ok;
}

AudioResult AudioSystem::RenderOffline(float* interleavedStereo, int frames)
{
    if (!state)
        return AudioResult::NotInitialized;
    if (!state->offline || !interleavedStereo || frames < 0)
        return AudioResult::InvalidParam;
    const int block = 512;
    for (int done = 0; done < frames; done += block)
    {
        const int count = frames - done < block ? frames - done : block;
        std::lock_guard<std::mutex> guard(state->lock);
        for (ChannelSlot& slot : state->slots)
        {
            if (slot.active && slot.decoder)
                slot.decoder->Fill();
        }
        state->Mix(interleavedStereo + 2 * done, count);
    }
    return AudioResult::Ok;
}

int AudioSystem::SampleRate() const
{
    return state ? state->sampleRate : 0;
}

AudioResult AudioSystem::Release()
{
    if (state)
    {
        if (state->device)
        {
            SDL_CloseAudioDevice(state->device);
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        for (ChannelSlot& slot : state->slots)
        {
            if (slot.active)
                state->FreeSlot(slot);
        }
        for (StreamDecoder* decoder : state->finishedDecoders)
            delete decoder;
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
