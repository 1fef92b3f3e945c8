// Reading the input and writing the result. Native builds go through the
// system's audio-file library; the Windows builds use the float WAV code.
#pragma once

#include "StereoSignal.h"

#include <string>
#include <vector>

/// The output formats this build can write; the first is the default.
std::vector<std::string> outputFormatNames();

/// Reads a mono or stereo audio file; throws HostError.
StereoSignal readAudioFile(const std::string& path);

/// Writes a stereo file in one of outputFormatNames(); throws HostError.
void writeAudioFile(const std::string& path, const StereoSignal& signal, const std::string& format);
