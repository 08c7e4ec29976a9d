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
    // A short span is cached whole; a file that loops whole is cached while
    // it proves short.
    if (loopsLeft != 0 && loopEnd >= 0 && loopEnd - loopStart + 1 <= LoopCacheFrames)
        loopCache.reserve(static_cast<std::size_t>(loopEnd - loopStart + 1) * 2);
    else if (loopsLeft != 0 && loopEnd < 0)
        loopCache.reserve(static_cast<std::size_t>(LoopCacheFrames) * 2);
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

void StreamDecoder::ReplayChunk()
{
    // Many passes of a short span may fill one chunk: a span of a few frames
    // costs no more than a long one.
    int read = 0;
    while (read < ChunkFrames)
    {
        if (replayAt == loopCache.size())
        {
            if (loopsLeft == 0)
                break;
            if (loopsLeft > 0)
                --loopsLeft;
            replayAt = 0;
            position = loopStart;
        }
        const int count = static_cast<int>(
            std::min<std::size_t>(ChunkFrames - read, (loopCache.size() - replayAt) / 2));
        std::copy_n(loopCache.data() + replayAt, count * 2, chunk + read * 2);
        replayAt += static_cast<std::size_t>(count) * 2;
        read += count;
        position += count;
    }
    if (resampler->PassesThrough())
        ring.Write(chunk, read);
    else
        resampler->Put(chunk, read);
    // The last pass is done: the file goes on after the span.
    if (replayAt == loopCache.size() && loopsLeft == 0)
    {
        replaying = false;
        framesSinceJump = 0;
        if (!reader.Seek(position, &stopping))
            sourceEnded = true;
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

        if (replaying)
        {
            ReplayChunk();
            continue;
        }

        // Never read across the loop end: shorten the chunk so the jump lands
        // on the exact frame.
        int64_t want = ChunkFrames;
        const bool looping = loopsLeft != 0;
        if (looping && loopEnd >= 0 && position + want > loopEnd + 1)
            want = loopEnd + 1 - position;
        int64_t read = want > 0 ? reader.Read(chunk, want) : 0;
        // The first pass through a short span (or a short file that loops
        // whole) keeps it for the replays; a longer one is not kept.
        if (!jumped && loopCache.capacity() > 0 &&
            position + read > std::max<int64_t>(loopStart, 0) &&
            (loopEnd < 0 || position <= loopEnd))
        {
            const int64_t from = std::max<int64_t>(loopStart - position, 0);
            if (loopCache.size() + static_cast<std::size_t>(read - from) * 2 > loopCache.capacity())
                std::vector<float>().swap(loopCache);
            else
                loopCache.insert(loopCache.end(), chunk + from * 2, chunk + read * 2);
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
            // A whole file that fit in the cache loops as a span of itself.
            if (loopEnd < 0 && !jumped && !loopCache.empty() &&
                static_cast<int64_t>(loopCache.size()) == position * 2)
            {
                loopStart = 0;
                loopEnd = position - 1;
            }
            if (loopsLeft > 0)
                --loopsLeft;
            const int64_t target = loopEnd >= 0 ? loopStart : 0;
            const bool cached =
                loopEnd >= 0 && position == loopEnd + 1 && !loopCache.empty() &&
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
