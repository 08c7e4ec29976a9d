// Writes the shipped Content/ tree: key mappings, the ship texture, the sound
// effects with their cue files, and the music track with its loop points.
// The same run always writes the same bytes.

#include "tools/KlezmerScore.h"
#include "tools/MusicSynth.h"
#include "tools/ShipImage.h"

#include <SDL.h>
#include <SDL_image.h>
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
const double Pi = 3.14159265358979323846;
const int EffectRate = 48000;

void WriteText(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

void WriteSound(const fs::path& file, int format, int rate, int channels,
                const std::vector<float>& samples, double quality = -1.0)
{
    fs::create_directories(file.parent_path());
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* sound = sf_open(file.string().c_str(), SFM_WRITE, &info);
    if (!sound)
        throw std::runtime_error("cannot write " + file.string() + ": " + sf_strerror(nullptr));
    if (quality >= 0.0)
        sf_command(sound, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof(quality));
    sf_count_t frames = static_cast<sf_count_t>(samples.size() / channels);
    sf_count_t written = sf_writef_float(sound, samples.data(), frames);
    sf_close(sound);
    if (written != frames)
        throw std::runtime_error("short write to " + file.string());
}

// Ogg pages carry a random stream serial number; a fixed one (with each
// page's checksum recomputed) makes the file the same on every run.
void FixOggSerial(const fs::path& file, uint32_t serial)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    in.close();
    uint32_t table[256];
    for (uint32_t i = 0; i < 256; ++i)
    {
        uint32_t r = i << 24;
        for (int k = 0; k < 8; ++k)
            r = (r & 0x80000000u) ? (r << 1) ^ 0x04c11db7u : r << 1;
        table[i] = r;
    }
    std::size_t at = 0;
    while (at + 27 <= bytes.size() && bytes[at] == 'O' && bytes[at + 1] == 'g' &&
           bytes[at + 2] == 'g' && bytes[at + 3] == 'S')
    {
        const std::size_t segments = bytes[at + 26];
        std::size_t length = 27 + segments;
        for (std::size_t s = 0; s < segments; ++s)
            length += bytes[at + 27 + s];
        if (at + length > bytes.size())
            throw std::runtime_error("truncated Ogg page in " + file.string());
        for (int k = 0; k < 4; ++k)
        {
            bytes[at + 14 + k] = static_cast<uint8_t>(serial >> (8 * k));
            bytes[at + 22 + k] = 0;
        }
        uint32_t crc = 0;
        for (std::size_t i = 0; i < length; ++i)
            crc = (crc << 8) ^ table[((crc >> 24) & 0xff) ^ bytes[at + i]];
        for (int k = 0; k < 4; ++k)
            bytes[at + 22 + k] = static_cast<uint8_t>(crc >> (8 * k));
        at += length;
    }
    if (at != bytes.size())
        throw std::runtime_error("unexpected data in " + file.string());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A short tuned tap: a fast attack, an exponential decay and a fade to zero.
std::vector<float> Tap(double frequency, double decay, double brightness)
{
    const int length = EffectRate * 12 / 100;
    std::vector<float> samples(length);
    for (int i = 0; i < length; ++i)
    {
        const double t = double(i) / EffectRate;
        const double envelope =
            std::min(1.0, t / 0.002) * std::exp(-t / decay) * (1.0 - double(i) / length);
        const double value =
            std::sin(2 * Pi * frequency * t) +
            brightness * std::sin(2 * Pi * 2.76 * frequency * t) +
            0.5 * brightness * std::sin(2 * Pi * 5.4 * frequency * t) * std::exp(-t / 0.01);
        samples[i] = static_cast<float>(0.5 * envelope * value);
    }
    return samples;
}

// A click: a burst of band-passed noise over a short high tone.
std::vector<float> Click(double frequency, uint32_t seed)
{
    const int length = EffectRate * 4 / 100;
    std::vector<float> samples(length);
    uint32_t state = seed;
    double low = 0.0, lower = 0.0;
    for (int i = 0; i < length; ++i)
    {
        const double t = double(i) / EffectRate;
        state = state * 1664525u + 1013904223u;
        const double white = double((state >> 8) & 0xffff) / 32768.0 - 1.0;
        low += 0.5 * (white - low);
        lower += 0.1 * (low - lower);
        const double envelope =
            std::min(1.0, t / 0.0005) * std::exp(-t / 0.006) * (1.0 - double(i) / length);
        samples[i] = static_cast<float>(0.6 * envelope *
                                        ((low - lower) + 0.6 * std::sin(2 * Pi * frequency * t)));
    }
    return samples;
}

void WritePng(const fs::path& file, int size)
{
    fs::create_directories(file.parent_path());
    std::vector<uint8_t> pixels = DrawShipImage(size);
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), size, size, 32,
                                                              size * 4, SDL_PIXELFORMAT_ABGR8888);
    if (!surface || IMG_SavePNG(surface, file.string().c_str()) != 0)
        throw std::runtime_error("cannot write " + file.string() + ": " + SDL_GetError());
    SDL_FreeSurface(surface);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3)
    {
        std::fprintf(stderr, "usage: %s CONTENT_FOLDER [ICON_FILE]\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    try
    {
        // The desktop icon of the installed game: the ship, larger.
        if (argc == 3)
            WritePng(argv[2], 128);

        WriteText(root / "Config/KeyMappings.json", R"({
    "MoveUp": "W",
    "MoveUp": "Up",
    "MoveUp": "GamepadDPadUp",
    "MoveUp": "GamepadLeftThumbstickUp",
    "MoveDown": "S",
    "MoveDown": "Down",
    "MoveDown": "GamepadDPadDown",
    "MoveDown": "GamepadLeftThumbstickDown",
    "MoveLeft": "A",
    "MoveLeft": "Left",
    "MoveLeft": "GamepadDPadLeft",
    "MoveLeft": "GamepadLeftThumbstickLeft",
    "MoveRight": "D",
    "MoveRight": "Right",
    "MoveRight": "GamepadDPadRight",
    "MoveRight": "GamepadLeftThumbstickRight",
    "AddObjects": "Space",
    "AddObjects": "KeypadPlus",
    "AddObjects": "GamepadA",
    "RemoveObjects": "Backspace",
    "RemoveObjects": "KeypadMinus",
    "RemoveObjects": "GamepadB"
}
)");

        WritePng(root / "Textures/Main/Ship.png", 64);

        const fs::path sound = root / "Sound/Main";
        const int wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        WriteSound(sound / "Tap1.wav", wav, EffectRate, 1, Tap(880.0, 0.030, 0.30));
        WriteSound(sound / "Tap2.wav", wav, EffectRate, 1, Tap(988.0, 0.026, 0.35));
        WriteSound(sound / "Tap3.wav", wav, EffectRate, 1, Tap(784.0, 0.034, 0.25));
        WriteSound(sound / "Click1.wav", wav, EffectRate, 1, Click(2400.0, 7u));
        WriteSound(sound / "Click2.wav", wav, EffectRate, 1, Click(1800.0, 11u));
        WriteText(sound / "Tap.json", R"({
    "LayerMode": "Sequential",
    "Layers": [
        { "Sound": "Tap1" },
        { "Sound": "Tap2" },
        { "Sound": "Tap3" }
    ]
}
)");
        WriteText(sound / "Click.json", R"({
    "LayerMode": "Randomized",
    "Layers": [
        { "Sound": "Click1", "Volume": 0.8 },
        { "Sound": "Click2", "Volume": 0.6 }
    ]
}
)");

        const fs::path music = root / "Music";
        WriteSound(music / "Klezmer.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS,
                   KlezmerScore::SampleRate, 2, RenderKlezmer(), 0.45);
        FixOggSerial(music / "Klezmer.ogg", 0x4b6c7a31u);
        WriteText(music / "Klezmer.json",
                  "{\n    \"LoopStartSample\": " + std::to_string(KlezmerScore::LoopStartFrame) +
                      ",\n    \"LoopEndSample\": " + std::to_string(KlezmerScore::LoopEndFrame) +
                      "\n}\n");
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "ContentGenerator: %s\n", error.what());
        return 1;
    }
    return 0;
}
