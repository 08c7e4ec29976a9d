#pragma once

#include <boost/filesystem/path.hpp>

#include <functional>
#include <vector>

// Writers of real sound files made with libsndfile, for the audio tests.

// A counting file's frame i holds ((i % 20000) + 1) / 32768, below the
// mixer's soft-clip knee, so that the output tells which source frame it
// plays. In 16-bit PCM (written at a scale of 32767) frames below 16 000 count
// back exactly.

// The source frame a counting value stands for.
int CountedFrame(float value);

// A mono file of `frames` counting frames; `format` is libsndfile's (for
// example SF_FORMAT_WAV | SF_FORMAT_PCM_16, or SF_FORMAT_FLAC | SF_FORMAT_PCM_16).
void WriteCountingSound(const boost::filesystem::path& file, int frames, int rate, int format);

// A mono file whose frame i is signal(i), any format libsndfile writes
// (SF_FORMAT_OGG | SF_FORMAT_VORBIS among them), at a variable bitrate when
// asked and the format has one.
void WriteSignalSound(const boost::filesystem::path& file, int frames, int rate, int format,
                      const std::function<float(int)>& signal, bool variableBitrate = false);

// Every frame of a file, decoded to mono floats by libsndfile.
std::vector<float> DecodeWholeFile(const boost::filesystem::path& file);
