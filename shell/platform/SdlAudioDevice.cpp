#include "shell/platform/SdlAudioDevice.h"

#include "audio/engine/DeviceOutput.h"

#include <SDL.h>

SdlAudioDevice* SdlAudioDevice::Start(bool dummy)
{
    if (dummy)
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    return new SdlAudioDevice();
}

SdlAudioDevice::~SdlAudioDevice()
{
    Close();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int SdlAudioDevice::Open(int sampleRate, bool adoptDeviceRate, DeviceOutput* output)
{
    Close();
    SDL_AudioSpec want = {};
    want.freq = sampleRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = DeviceOutput::BufferFrames;
    want.callback = Callback;
    want.userdata = output;
    SDL_AudioSpec have = {};
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                 adoptDeviceRate ? SDL_AUDIO_ALLOW_FREQUENCY_CHANGE : 0);
    if (!device)
        return 0;
    return adoptDeviceRate ? have.freq : sampleRate;
}

void SdlAudioDevice::Resume()
{
    SDL_PauseAudioDevice(device, 0);
}

void SdlAudioDevice::Close()
{
    // Waits for SDL's audio thread, which then calls nothing more.
    if (device)
        SDL_CloseAudioDevice(device);
    device = 0;
}

bool SdlAudioDevice::Lost()
{
    // SDL marks a device it lost as disabled, which reads as stopped; an open
    // device otherwise plays or is paused.
    return device && SDL_GetAudioDeviceStatus(device) == SDL_AUDIO_STOPPED;
}

int SdlAudioDevice::Listed()
{
    return SDL_GetNumAudioDevices(0);
}

bool SdlAudioDevice::DevicesComeAndGo() const
{
    const char* driver = SDL_GetCurrentAudioDriver();
    return driver && (SDL_strcmp(driver, "pulseaudio") == 0 || SDL_strcmp(driver, "pipewire") == 0);
}

void SdlAudioDevice::Callback(void* user, unsigned char* stream, int bytes)
{
    static_cast<DeviceOutput*>(user)->Pull(reinterpret_cast<float*>(stream),
                                           bytes / static_cast<int>(2 * sizeof(float)));
}
