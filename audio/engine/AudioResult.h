#pragma once

// The result of every call on the audio engine.
enum class AudioResult
{
    Ok = 0,
    InvalidHandle,  // a stale or empty channel handle, or a released sound
    InvalidParam,   // a null pointer, bad loop points, a bad channel count
    FileNotFound,   // the file does not exist
    FileUnreadable, // the decoder refused the file
    NotInitialized, // the system was not initialised
    OutputFailed,   // no output could be opened, or it stopped taking commands
    OutOfChannels,  // every channel is busy with music
    Unsupported,    // loop points on a sample (only streams take them)
};
