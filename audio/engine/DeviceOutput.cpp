#include "audio/engine/DeviceOutput.h"

#include "audio/engine/Mixer.h"

#include <SDL.h>

#include <chrono>

namespace
{
SDL_AudioDeviceID OpenDevice(SDL_AudioCallback callback, void* user, int* sampleRate)
{
    SDL_AudioSpec want = {};
    want.freq = 48000;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = DeviceOutput::BufferFrames;
    want.callback = callback;
    want.userdata = user;
    SDL_AudioSpec have = {};
    SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device)
        *sampleRate = have.freq;
    return device;
}
} // namespace

DeviceOutput* DeviceOutput::Open()
{
    DeviceOutput* output = new DeviceOutput();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
        output->device = OpenDevice(Callback, output, &output->sampleRate);
    if (!output->device)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
            output->device = OpenDevice(Callback, output, &output->sampleRate);
    }
    if (!output->device)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        delete output;
        return nullptr;
    }
    return output;
}

DeviceOutput::~DeviceOutput()
{
    if (device)
    {
        SDL_CloseAudioDevice(device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void DeviceOutput::Start(Mixer* source)
{
    // Set before the device runs: the callback reads it without a lock.
    mixer = source;
    SDL_PauseAudioDevice(device, 0);
}

void DeviceOutput::Callback(void* user, unsigned char* stream, int bytes)
{
    auto now = []
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    DeviceOutput* output = static_cast<DeviceOutput*>(user);
    const int64_t start = now();
    const int frames = bytes / static_cast<int>(2 * sizeof(float));
    if (output->mixer)
        output->mixer->Mix(reinterpret_cast<float*>(stream), frames);
    else
        SDL_memset(stream, 0, static_cast<std::size_t>(bytes));
    const int64_t end = now();
    const int64_t period = int64_t(frames) * 1000000000 / output->sampleRate;
    if ((output->lastStart != 0 && start - output->lastStart > 2 * period) || end - start > period)
        output->lateBuffers.fetch_add(1, std::memory_order_relaxed);
    output->lastStart = start;
    if (output->mixer)
        output->appliedWhenHanded.store(output->mixer->Applied(), std::memory_order_release);
    output->buffers.fetch_add(1, std::memory_order_release);
}
