#include "WavFile.h"

#include "Files.h"
#include "HostError.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

// Format tags of the fmt chunk; an extensible header names the real tag in the
// first two bytes of its sub-format identifier.
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::size_t kPlainFormatSize = 16;
constexpr std::size_t kExtensibleFormatSize = 40;
constexpr std::size_t kSubFormatOffset = 24;

std::uint32_t readU32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t readU16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void putU32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void putU16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

[[noreturn]] void malformed(const std::string& path, const std::string& why) {
    throw HostError(ExitCode::fileError, path + " is not a 32-bit float WAV file: " + why);
}

}  // namespace

StereoSignal readFloatWav(const std::string& path) {
    requireReadableFile(path);
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();

    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        malformed(path, "no RIFF/WAVE header");

    const unsigned char* format = nullptr;
    std::size_t formatSize = 0;
    const unsigned char* samples = nullptr;
    std::size_t sampleBytes = 0;
    for (std::size_t at = 12; at + 8 <= size;) {
        const std::size_t chunkSize = readU32(data + at + 4);
        const std::size_t body = at + 8;
        // A writer that was interrupted leaves a data chunk longer than the file.
        const std::size_t available = std::min(chunkSize, size - body);
        if (std::memcmp(data + at, "fmt ", 4) == 0) {
            format = data + body;
            formatSize = available;
        } else if (std::memcmp(data + at, "data", 4) == 0) {
            samples = data + body;
            sampleBytes = available;
        }
        if (chunkSize > size - body) break;
        at = body + chunkSize + (chunkSize & 1);  // chunks are padded to even sizes
    }
    if (format == nullptr || formatSize < kPlainFormatSize) malformed(path, "no format chunk");
    if (samples == nullptr) malformed(path, "no data chunk");

    std::uint16_t tag = readU16(format);
    if (tag == kFormatExtensible && formatSize >= kExtensibleFormatSize) tag = readU16(format + kSubFormatOffset);
    const std::uint16_t channels = readU16(format + 2);
    const std::uint32_t rate = readU32(format + 4);
    const std::uint16_t bits = readU16(format + 14);
    if (tag != kFormatFloat || bits != 32) malformed(path, "samples are not 32-bit floats");
    if (channels != 1 && channels != 2)
        throw HostError(ExitCode::fileError, path + " has " + std::to_string(channels) +
                                                 " channels; plughost reads mono or stereo files");
    if (rate == 0 || rate > static_cast<std::uint32_t>(std::numeric_limits<int>::max()))
        malformed(path, "bad sample rate");

    StereoSignal signal;
    signal.sampleRate = static_cast<int>(rate);
    const std::size_t frames = sampleBytes / (4u * channels);
    signal.resize(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const unsigned char* frame = samples + i * 4u * channels;
        signal.left[i] = std::bit_cast<float>(readU32(frame));
        signal.right[i] = channels == 2 ? std::bit_cast<float>(readU32(frame + 4)) : signal.left[i];
    }
    return signal;
}

void writeFloatWav(const std::string& path, const StereoSignal& signal) {
    constexpr std::uint16_t channels = 2;
    constexpr std::uint16_t bytesPerFrame = channels * 4;
    const std::size_t dataBytes = signal.frames() * bytesPerFrame;
    // A float WAV carries a fact chunk with the frame count.
    constexpr std::size_t headerBytes = 12 + 8 + kPlainFormatSize + 2 + 8 + 4 + 8;
    if (dataBytes > std::numeric_limits<std::uint32_t>::max() - headerBytes)
        throw HostError(ExitCode::fileError, "cannot write " + path + ": too long for a WAV file");

    std::string out;
    out.reserve(headerBytes + dataBytes);
    out += "RIFF";
    putU32(out, static_cast<std::uint32_t>(headerBytes - 8 + dataBytes));
    out += "WAVEfmt ";
    putU32(out, kPlainFormatSize + 2);
    putU16(out, kFormatFloat);
    putU16(out, channels);
    putU32(out, static_cast<std::uint32_t>(signal.sampleRate));
    putU32(out, static_cast<std::uint32_t>(signal.sampleRate) * bytesPerFrame);
    putU16(out, bytesPerFrame);
    putU16(out, 32);
    putU16(out, 0);  // no extension bytes
    out += "fact";
    putU32(out, 4);
    putU32(out, static_cast<std::uint32_t>(signal.frames()));
    out += "data";
    putU32(out, static_cast<std::uint32_t>(dataBytes));
    for (std::size_t i = 0; i < signal.frames(); ++i) {
        putU32(out, std::bit_cast<std::uint32_t>(signal.left[i]));
        putU32(out, std::bit_cast<std::uint32_t>(signal.right[i]));
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) throw HostError(ExitCode::fileError, "cannot write " + path + ": " + std::strerror(errno));
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    file.close();
    if (!file) throw HostError(ExitCode::fileError, "cannot write " + path + ": write failed");
}
