#include "audio/engine/AudioEngineState.h"

#include "audio/engine/AudioOutput.h"
#include "audio/engine/AudioSound.h"
#include "audio/engine/Mixer.h"
#include "audio/engine/StreamDecoder.h"

#include <cassert>
#include <chrono>
#include <thread>

bool AudioEngineState::Live(uint32_t slot) const
{
    return slots[slot].active && !mixer->Ended(slot, slots[slot].generation);
}

bool AudioEngineState::Send(const MixerCommand& command)
{
    assert(std::this_thread::get_id() == gameThread && "the engine is called from one thread");
    const auto start = std::chrono::steady_clock::now();
    while (!mixer->Send(command))
    {
        // Offline, this thread is the mixing thread: apply what is queued.
        if (!output->PullsOnItsOwnThread())
        {
            mixer->ApplyCommands();
            continue;
        }
        // The output takes the queue at its next buffer, a few milliseconds
        // away; one that has stopped pulling is not waited for.
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(1))
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void AudioEngineState::DeleteFinished()
{
    // Deleting a decoder stops and joins its thread.
    while (StreamDecoder* decoder = mixer->TakeFinishedDecoder())
        delete decoder;
    const uint64_t applied = mixer->Applied();
    for (std::size_t i = 0; i < retiredRecords.size();)
    {
        if (retiredRecords[i].first <= applied)
        {
            delete retiredRecords[i].second;
            retiredRecords[i] = retiredRecords.back();
            retiredRecords.pop_back();
        }
        else
            ++i;
    }
}

void AudioEngineState::Shutdown()
{
    delete output; // the mixer is not called again
    output = nullptr;
    mixer->ApplyCommands();
    mixer->EndAllVoices();
    DeleteFinished();
    delete mixer;
    mixer = nullptr;
    for (auto& retired : retiredRecords)
        delete retired.second;
    retiredRecords.clear();
    for (AudioSound* sound : sounds)
    {
        delete sound->record;
        delete sound;
    }
    sounds.clear();
}
