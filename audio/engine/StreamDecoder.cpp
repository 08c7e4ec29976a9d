#include "audio/engine/StreamDecoder.h"

#include <chrono>

StreamDecoder::StreamDecoder(int outputRate, int64_t loopStart, int64_t loopEnd, int loopCount)
    : ring(outputRate), outputRate(outputRate), loopStart(loopStart), loopEnd(loopEnd),
      loopsLeft(loopCount)
{
}

StreamDecoder::~StreamDecoder()
{
    stopping = true;
    wake.notify_all();
    if (thread.joinable())
        thread.join();
    delete resampler;
}

AudioResult StreamDecoder::Open(const std::string& path)
{
    AudioResult result = reader.Open(path);
    if (result != AudioResult::Ok)
        return result;
    resampler = new Resampler(reader.SampleRate(), outputRate);
    return AudioResult::Ok;
}

void StreamDecoder::StartThread()
{
    thread = std::thread(&StreamDecoder::ThreadMain, this);
}

void StreamDecoder::ThreadMain()
{
    while (!stopping && !done)
    {
        Fill();
        // A quarter of the ring is played in about a quarter second.
        std::unique_lock<std::mutex> lock(wakeMutex);
        wake.wait_for(lock, std::chrono::milliseconds(20), [this] { return stopping.load(); });
    }
}

void StreamDecoder::Fill()
{
    const int chunkFrames = 1024;
    while (!done && ring.Free() >= 4096)
    {
        if (sourceEnded)
        {
            if (!resampler->PassesThrough())
            {
                resampler->Flush();
                int got;
                while ((got = resampler->Take(converted, 4096)) > 0)
                    ring.Write(converted, got);
            }
            done = true;
            return;
        }
        // Never read across the loop end: shorten the chunk so the jump lands
        // on the exact frame.
        int64_t want = chunkFrames;
        const bool looping = loopsLeft != 0;
        if (looping && loopEnd >= 0 && position + want > loopEnd + 1)
            want = loopEnd + 1 - position;
        const int64_t read = want > 0 ? reader.Read(chunk, want) : 0;
        position += read;
        if (resampler->PassesThrough())
            ring.Write(chunk, static_cast<int>(read));
        else
        {
            resampler->Put(chunk, static_cast<int>(read));
            int got;
            while ((got = resampler->Take(converted, 4096)) > 0)
                ring.Write(converted, got);
        }
        const bool atLoopEnd = looping && loopEnd >= 0 && position == loopEnd + 1;
        if (read < want || atLoopEnd)
        {
            if (!looping || position == 0)
            {
                sourceEnded = true;
                continue;
            }
            if (loopsLeft > 0)
                --loopsLeft;
            const int64_t target = loopEnd >= 0 ? loopStart : 0;
            if (!reader.Seek(target))
            {
                sourceEnded = true;
                continue;
            }
            position = target;
        }
    }
}
