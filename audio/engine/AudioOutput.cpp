#include "audio/engine/AudioOutput.h"

bool AudioOutput::Render(float*, int)
{
    return false;
}
