#include "audio/engine/Mixer.h"

#include "audio/engine/StreamDecoder.h"

#include <algorithm>
#include <cmath>

namespace
{
const int StreamBlockFrames = 1024;
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
} // namespace

Mixer::Mixer(int voiceCount, int sampleRate)
    : voiceCount(voiceCount), sampleRate(sampleRate), rampStep(1.0f / (0.004f * sampleRate)),
      voices(new Voice[voiceCount]), endedGenerations(new std::atomic<uint32_t>[voiceCount]),
      commands(CommandCapacity),
      finishedDecoders(static_cast<std::size_t>(voiceCount) + CommandCapacity + 1),
      streamFrames(new float[2 * StreamBlockFrames])
{
    for (int i = 0; i < voiceCount; ++i)
        endedGenerations[i].store(0, std::memory_order_relaxed);
}

Mixer::~Mixer()
{
    delete[] streamFrames;
    delete[] endedGenerations;
    delete[] voices;
}

bool Mixer::Send(const MixerCommand& command)
{
    if (!commands.Push(command))
        return false;
    ++sent;
    return true;
}

bool Mixer::Ended(uint32_t slot, uint32_t generation) const
{
    return endedGenerations[slot].load(std::memory_order_acquire) == generation;
}

StreamDecoder* Mixer::TakeFinishedDecoder()
{
    StreamDecoder* decoder = nullptr;
    return finishedDecoders.Pop(&decoder) ? decoder : nullptr;
}

void Mixer::ApplyCommands()
{
    MixerCommand command;
    uint64_t count = 0;
    while (commands.Pop(&command))
    {
        Apply(command);
        ++count;
    }
    if (count > 0)
        applied.store(applied.load(std::memory_order_relaxed) + count, std::memory_order_release);
}

void Mixer::Apply(const MixerCommand& command)
{
    Voice& voice = voices[command.slot];
    if (command.kind == MixerCommand::Play)
    {
        if (voice.active)
            EndVoice(static_cast<int>(command.slot));
        voice = Voice();
        voice.active = true;
        voice.generation = command.generation;
        voice.frames = command.frames;
        voice.frameCount = command.frameCount;
        voice.decoder = command.decoder;
        voice.loopsLeft = command.loopCount;
        voice.paused = command.paused;
        voice.sounded = !command.paused;
        return;
    }
    if (!voice.active || voice.generation != command.generation)
        return;
    switch (command.kind)
    {
    case MixerCommand::SetVolume:
        voice.target = command.volume;
        if (!voice.sounded)
            voice.gain = command.volume; // not heard yet: applies from the first frame
        break;
    case MixerCommand::SetPaused:
        voice.paused = command.paused;
        voice.sounded = voice.sounded || !command.paused;
        break;
    case MixerCommand::Stop:
        if (!voice.sounded || voice.paused)
            EndVoice(static_cast<int>(command.slot));
        else
        {
            voice.stopping = true;
            voice.target = 0.0f;
        }
        break;
    case MixerCommand::StopNow:
        EndVoice(static_cast<int>(command.slot));
        break;
    case MixerCommand::Play:
        break;
    }
}

void Mixer::EndVoice(int slot)
{
    Voice& voice = voices[slot];
    if (voice.decoder)
        finishedDecoders.Push(voice.decoder);
    voice.decoder = nullptr;
    voice.frames = nullptr;
    voice.active = false;
    endedGenerations[slot].store(voice.generation, std::memory_order_release);
}

void Mixer::EndAllVoices()
{
    for (int slot = 0; slot < voiceCount; ++slot)
    {
        if (voices[slot].active)
            EndVoice(slot);
    }
}

StreamDecoder* Mixer::StreamAt(int slot) const
{
    return voices[slot].active ? voices[slot].decoder : nullptr;
}

void Mixer::Mix(float* out, int frames)
{
    ApplyCommands();
    std::fill(out, out + 2 * static_cast<std::ptrdiff_t>(frames), 0.0f);
    for (int slot = 0; slot < voiceCount; ++slot)
    {
        if (voices[slot].active && !voices[slot].paused)
            MixVoice(slot, out, frames);
    }
    // The limiter touches the buffer only when something passes the knee.
    const int samples = 2 * frames;
    float peak = 0.0f;
    for (int i = 0; i < samples; ++i)
        peak = std::max(peak, std::fabs(out[i]));
    if (peak > KneeStart)
    {
        for (int i = 0; i < samples; ++i)
            out[i] = SoftClip(out[i]);
    }
}

void Mixer::MixVoice(int slot, float* out, int frames)
{
    Voice& voice = voices[slot];
    int done = 0;
    while (done < frames)
    {
        const float* source = nullptr;
        int count = 0;
        if (voice.decoder)
        {
            // done is read first: once it is seen, every frame written before
            // it is in the ring, so an empty ring means the end.
            const bool finished = voice.decoder->done.load(std::memory_order_acquire);
            count =
                voice.decoder->ring.Read(streamFrames, std::min(frames - done, StreamBlockFrames));
            if (count == 0)
            {
                if (finished)
                    EndVoice(slot);
                return; // the decoder is behind: silence, never a wait
            }
            source = streamFrames;
        }
        else
        {
            if (voice.position >= voice.frameCount)
            {
                EndVoice(slot);
                return;
            }
            count = static_cast<int>(
                std::min<int64_t>(frames - done, voice.frameCount - voice.position));
            source = voice.frames + 2 * voice.position;
            voice.position += count;
            if (voice.position >= voice.frameCount && voice.loopsLeft != 0)
            {
                if (voice.loopsLeft > 0)
                    --voice.loopsLeft;
                voice.position = 0;
            }
        }
        if (!Accumulate(slot, source, out + 2 * done, count))
            return;
        done += count;
    }
}

bool Mixer::Accumulate(int slot, const float* source, float* out, int count)
{
    Voice& voice = voices[slot];
    int i = 0;
    // The ramp, frame by frame: a few milliseconds at most.
    for (; i < count && voice.gain != voice.target; ++i)
    {
        const float difference = voice.target - voice.gain;
        voice.gain += std::fabs(difference) <= rampStep ? difference
                                                        : (difference > 0 ? rampStep : -rampStep);
        out[2 * i] += source[2 * i] * voice.gain;
        out[2 * i + 1] += source[2 * i + 1] * voice.gain;
        if (voice.stopping && voice.gain == 0.0f)
        {
            EndVoice(slot);
            return false;
        }
    }
    if (voice.stopping && voice.gain == 0.0f && i < count)
    {
        EndVoice(slot);
        return false;
    }
    const float gain = voice.gain;
    for (int j = 2 * i; j < 2 * count; ++j)
        out[j] += source[j] * gain;
    return true;
}
