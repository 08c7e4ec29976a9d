// libFuzzer harness of one content loader, chosen when built (FUZZ_LOADER):
// every input is written to a file and handed to the loader as the game
// hands it its content. Content errors are exceptions the game reports; a
// crash, a hang, a leak, memory past the limit, or a mix that is not finite
// is a finding.
#include "audio/Cue.h"
#include "audio/MusicManager.h"
#include "audio/SoundManager.h"
#include "audio/engine/AudioSystem.h"
#include "content/ContentJson.h"
#include "content/Texture.h"
#include "input/ActionNames.h"
#include "input/InputManager.h"
#include "shell/Game.h"
#include "shell/SoftwareCompositor.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{
// Plays the sound on a fresh offline engine and traps on a sample that is
// not finite.
void Play(const std::string& path, uint32_t mode, int frames)
{
    AudioSystem* system = nullptr;
    AudioSystem::Create(&system);
    system->Init(4, AudioInitOffline, nullptr);
    AudioSound* sound = nullptr;
    if (system->CreateSound(path.c_str(), mode, &sound) == AudioResult::Ok)
    {
        sound->SetLoopCount(-1);
        AudioChannel channel;
        system->PlaySound(sound, false, &channel);
        channel.SetVolume(0.0f); // inf x 0 would be NaN
        std::vector<float> out(2 * 4096);
        for (int done = 0; done < frames; done += 4096)
        {
            system->RenderOffline(out.data(), 4096);
            for (float sample : out)
                if (!std::isfinite(sample))
                    __builtin_trap();
        }
    }
    system->Release();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/LoaderFuzzer." + std::to_string(getpid());
    if (FILE* file = std::fopen(path.c_str(), "wb"))
    {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    if (!Game::ActionNames)
        Game::ActionNames = CreateActionNames();
    try
    {
        const std::string loader = FUZZ_LOADER;
        if (loader == "KeyMappings")
            InputManager().LoadKeyMappings(path);
        else if (loader == "Cue")
        {
            Cue cue;
            ReadCueFile(path, ReadContentJson(path), &cue, {});
        }
        else if (loader == "LoopPoints")
        {
            MusicMetadata track;
            ReadLoopPoints(path, ReadContentJson(path), &track);
        }
        else if (loader == "Texture")
        {
            static SoftwareCompositor device(1);
            delete CreateTexture(&device, path.c_str());
        }
        else if (loader == "Sample")
            Play(path, AudioModeDefault, 4096);
        else if (loader == "Music")
            Play(path, AudioModeStream | AudioModeLoop, 48000);
    }
    catch (const std::exception&)
    {
    }
    return 0;
}
