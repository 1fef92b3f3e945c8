#include "AudioFile.h"

#include "Files.h"
#include "HostError.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

namespace {

struct FormatName {
    const char* name;
    int format;
};

constexpr std::array kFormats{
    FormatName{"wav-float", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
    FormatName{"wav-16", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
    FormatName{"wav-24", SF_FORMAT_WAV | SF_FORMAT_PCM_24},
    FormatName{"aiff-16", SF_FORMAT_AIFF | SF_FORMAT_PCM_16},
    FormatName{"flac-16", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
    FormatName{"flac-24", SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
};

struct CloseFile {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using File = std::unique_ptr<SNDFILE, CloseFile>;

// Frames moved through the library per call.
constexpr sf_count_t kChunkFrames = 4096;

}  // namespace

std::vector<std::string> outputFormatNames() {
    std::vector<std::string> names;
    for (const FormatName& entry : kFormats) names.emplace_back(entry.name);
    return names;
}

StereoSignal readAudioFile(const std::string& path) {
    requireReadableFile(path);
    SF_INFO info{};
    File file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) throw HostError(ExitCode::fileError, path + " is not an audio file this build reads: " + sf_strerror(nullptr));
    if (info.channels != 1 && info.channels != 2)
        throw HostError(ExitCode::fileError, path + " has " + std::to_string(info.channels) +
                                                 " channels; plughost reads mono or stereo files");

    StereoSignal signal;
    signal.sampleRate = info.samplerate;
    signal.left.reserve(static_cast<std::size_t>(info.frames));
    signal.right.reserve(static_cast<std::size_t>(info.frames));
    std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames * info.channels));
    for (;;) {
        const sf_count_t got = sf_readf_float(file.get(), chunk.data(), kChunkFrames);
        if (got <= 0) break;
        for (sf_count_t i = 0; i < got; ++i) {
            const float* frame = chunk.data() + i * info.channels;
            signal.left.push_back(frame[0]);
            signal.right.push_back(info.channels == 2 ? frame[1] : frame[0]);
        }
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR)
        throw HostError(ExitCode::fileError, "cannot read " + path + ": " + sf_strerror(file.get()));
    return signal;
}

void writeAudioFile(const std::string& path, const StereoSignal& signal, const std::string& format) {
    const FormatName* chosen = nullptr;
    for (const FormatName& entry : kFormats)
        if (format == entry.name) chosen = &entry;
    if (chosen == nullptr) throw HostError(ExitCode::badOption, "unknown output format " + format);

    SF_INFO info{};
    info.samplerate = signal.sampleRate;
    info.channels = 2;
    info.format = chosen->format;
    File file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file) throw HostError(ExitCode::fileError, "cannot write " + path + ": " + sf_strerror(nullptr));
    // Integer formats clip what lies beyond full scale instead of wrapping it.
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);

    std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames * 2));
    for (std::size_t at = 0; at < signal.frames();) {
        const std::size_t count = std::min<std::size_t>(kChunkFrames, signal.frames() - at);
        for (std::size_t i = 0; i < count; ++i) {
            chunk[2 * i] = signal.left[at + i];
            chunk[2 * i + 1] = signal.right[at + i];
        }
        if (sf_writef_float(file.get(), chunk.data(), static_cast<sf_count_t>(count)) !=
            static_cast<sf_count_t>(count))
            throw HostError(ExitCode::fileError, "cannot write " + path + ": " + sf_strerror(file.get()));
        at += count;
    }
    if (sf_close(file.release()) != 0) throw HostError(ExitCode::fileError, "cannot write " + path);
}
