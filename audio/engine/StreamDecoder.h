#pragma once

#include "audio/engine/AudioResult.h"
#include "audio/engine/Resampler.h"
#include "audio/engine/SampleRing.h"
#include "audio/engine/SoundFileReader.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

// Decodes one playing stream ahead of the mixer into a ring of at least half
// a second at the output rate, on a thread of its own (or, offline, when
// Fill is called). Loops jump from the inclusive loop end to the loop start
// in source frames, so the seam is sample-exact.
class StreamDecoder
{
public:
    StreamDecoder(int outputRate, int64_t loopStart, int64_t loopEnd, int loopCount);
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;
    ~StreamDecoder(); // stops and joins the thread

    AudioResult Open(const std::string& path);
    void StartThread();
    void Fill(); // decodes until the ring is full or the stream is done

    SampleRing ring;
    std::atomic<bool> done{false}; // nothing more will be written

private:
    void ThreadMain();

    SoundFileReader reader;
    Resampler* resampler = nullptr;
    int outputRate;
    int64_t loopStart;
    int64_t loopEnd; // inclusive; -1 until known: the end of the file
    int loopsLeft;   // -1 for ever
    int64_t position = 0;
    bool sourceEnded = false;
    float chunk[2 * 1024];
    float converted[2 * 4096];
    std::thread thread;
    std::mutex wakeMutex;
    std::condition_variable wake;
    std::atomic<bool> stopping{false};
};
