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
#include <vector>

// Decodes one playing stream ahead of the mixer into a ring of one second
// at the output rate, on a thread of its own (or, offline, when
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
    // Decodes until the ring is full or the stream is done. Converted frames
    // the ring cannot take yet wait for the next call; a source that stops
    // giving frames ends the stream instead of spinning.
    void Fill();

    SampleRing ring;
    std::atomic<bool> done{false}; // nothing more will be written

private:
    void ThreadMain();
    // Fills a chunk from the cached span, looping as often as it takes.
    void ReplayChunk();

    SoundFileReader reader;
    Resampler* resampler = nullptr;
    int outputRate;
    int64_t loopStart;
    int64_t loopEnd; // inclusive; -1 until known: the end of the file
    int loopsLeft;   // -1 for ever
    int64_t position = 0;
    int64_t framesSinceJump = 0; // read since the start or the last loop jump
    bool sourceEnded = false;
    bool flushed = false;
    // A short loop span (or a short file looping whole) is kept decoded after
    // its first pass and replayed from memory, so its jumps neither seek nor
    // decode again.
    std::vector<float> loopCache;
    bool jumped = false;
    bool replaying = false;
    std::size_t replayAt = 0; // floats of loopCache already replayed
    float chunk[2 * 1024];
    float converted[2 * 4096];
    std::thread thread;
    std::mutex wakeMutex;
    std::condition_variable wake;
    std::atomic<bool> stopping{false};
};
