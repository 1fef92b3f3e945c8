#include "AudioFile.h"

#include "HostError.h"
#include "WavFile.h"

std::vector<std::string> outputFormatNames() { return {"wav-float"}; }

StereoSignal readAudioFile(const std::string& path) { return readFloatWav(path); }

void writeAudioFile(const std::string& path, const StereoSignal& signal, const std::string& format) {
    if (format != "wav-float") throw HostError(ExitCode::badOption, "this build writes only wav-float files");
    writeFloatWav(path, signal);
}
