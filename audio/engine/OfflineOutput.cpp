#include "audio/engine/OfflineOutput.h"

#include "audio/engine/Mixer.h"
#include "audio/engine/StreamDecoder.h"

bool OfflineOutput::Render(float* interleavedStereo, int frames)
{
    // Blocks small enough that a stream's ring never runs dry between fills.
    const int block = 512;
    for (int done = 0; done < frames; done += block)
    {
        const int count = frames - done < block ? frames - done : block;
        mixer->ApplyCommands();
        for (int slot = 0; slot < mixer->VoiceCount(); ++slot)
        {
            if (StreamDecoder* decoder = mixer->StreamAt(slot))
                decoder->Fill();
        }
        mixer->Mix(interleavedStereo + 2 * done, count);
    }
    return true;
}
