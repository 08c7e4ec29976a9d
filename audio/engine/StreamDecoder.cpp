#include "audio/engine/StreamDecoder.h"

#include <algorithm>
#include <chrono>

StreamDecoder::StreamDecoder(int outputRate, int64_t loopStart, int64_t loopEnd, int loopCount)
    : ring(outputRate), outputRate(outputRate), loopStart(loopStart), loopEnd(loopEnd),
      loopsLeft(loopCount)
{
}

namespace
{
const int ChunkFrames = 1024;
const int64_t LoopCacheFrames = 1 << 16;
} // namespace

StreamDecoder::~StreamDecoder()
{
    {
        std::lock_guard<std::mutex> lock(wakeMutex);
        stopping = true;
    }
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
    if (loopsLeft != 0 && loopEnd >= 0 && loopEnd - loopStart + 1 <= LoopCacheFrames)
        loopCache.reserve(static_cast<std::size_t>(loopEnd - loopStart + 1) * 2);
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
        // Topped up every 20 ms: the ring holds fifty times that.
        std::unique_lock<std::mutex> lock(wakeMutex);
        wake.wait_for(lock, std::chrono::milliseconds(20), [this] { return stopping.load(); });
    }
}

void StreamDecoder::Fill()
{
    while (!done && !stopping)
    {
        if (!resampler->PassesThrough())
        {
            while (resampler->Available() > 0)
            {
                const int room = std::min(ring.Free(), 4096);
                if (room == 0)
                    return;
                ring.Write(converted, resampler->Take(converted, room));
            }
        }
        if (sourceEnded)
        {
            if (!resampler->PassesThrough() && !flushed)
            {
                resampler->Flush();
                flushed = true;
                continue;
            }
            done = true;
            return;
        }
        if (ring.Free() < ChunkFrames)
            return;

        // Never read across the loop end: shorten the chunk so the jump lands
        // on the exact frame.
        int64_t want = ChunkFrames;
        const bool looping = loopsLeft != 0;
        if (looping && loopEnd >= 0 && position + want > loopEnd + 1)
            want = loopEnd + 1 - position;
        // A finished last loop goes on in the file after the span.
        if (replaying && !looping && replayAt == loopCache.size())
        {
            replaying = false;
            if (!reader.Seek(position, &stopping))
            {
                sourceEnded = true;
                continue;
            }
        }
        int64_t read = 0;
        if (replaying)
        {
            read = std::min<int64_t>(want, static_cast<int64_t>(loopCache.size() - replayAt) / 2);
            std::copy_n(loopCache.data() + replayAt, read * 2, chunk);
            replayAt += static_cast<std::size_t>(read) * 2;
        }
        else if (want > 0)
        {
            read = reader.Read(chunk, want);
            // The first pass through a short span keeps it for the replays.
            if (!jumped && loopCache.capacity() > 0 && position + read > loopStart &&
                position <= loopEnd)
            {
                const int64_t from = std::max<int64_t>(loopStart - position, 0);
                loopCache.insert(loopCache.end(), chunk + from * 2, chunk + read * 2);
            }
        }
        position += read;
        framesSinceJump += read;
        if (resampler->PassesThrough())
            ring.Write(chunk, static_cast<int>(read));
        else
            resampler->Put(chunk, static_cast<int>(read));

        const bool atLoopEnd = looping && loopEnd >= 0 && position == loopEnd + 1;
        if (read < want || atLoopEnd)
        {
            // Nothing read since the last jump: the file gives no more frames
            // (cut short, say), and jumping again would spin.
            if (!looping || framesSinceJump == 0)
            {
                sourceEnded = true;
                continue;
            }
            if (loopsLeft > 0)
                --loopsLeft;
            const int64_t target = loopEnd >= 0 ? loopStart : 0;
            const bool cached =
                atLoopEnd && loopCache.capacity() > 0 &&
                static_cast<int64_t>(loopCache.size()) == (loopEnd - loopStart + 1) * 2;
            if (cached)
            {
                replaying = true;
                replayAt = 0;
            }
            else if (!reader.Seek(target, &stopping))
            {
                sourceEnded = true;
                continue;
            }
            position = target;
            framesSinceJump = 0;
            jumped = true;
        }
    }
}
