// A small reader and writer of 32-bit float WAV files, for builds that have no
// audio-file library. Mono files are read into both channels.
#pragma once

#include "StereoSignal.h"

#include <string>

/// Reads a 32-bit float WAV file of one or two channels; throws HostError.
StereoSignal readFloatWav(const std::string& path);

/// Writes a two-channel 32-bit float WAV file; throws HostError.
void writeFloatWav(const std::string& path, const StereoSignal& signal);
