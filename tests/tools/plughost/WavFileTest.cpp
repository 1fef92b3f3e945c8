#include "HostError.h"
#include "RunPlughost.h"
#include "WavFile.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <fstream>
#include <limits>

namespace {

void put32(std::string& s, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) s.push_back(static_cast<char>((v >> shift) & 0xFF));
}
void put16(std::string& s, std::uint16_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
}
std::string chunk(const std::string& id, const std::string& body) {
    std::string s = id;
    put32(s, static_cast<std::uint32_t>(body.size()));
    s += body;
    if (body.size() % 2 != 0) s.push_back(0);
    return s;
}
std::string riff(const std::string& chunks) {
    std::string s = "RIFF";
    put32(s, static_cast<std::uint32_t>(4 + chunks.size()));
    return s + "WAVE" + chunks;
}
std::string formatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    std::string s;
    put16(s, tag);
    put16(s, channels);
    put32(s, rate);
    put32(s, rate * channels * bits / 8);
    put16(s, static_cast<std::uint16_t>(channels * bits / 8));
    put16(s, bits);
    return s;
}
// A header of the extensible kind naming its real format in the sub-format.
std::string extensibleFloatBody(std::uint16_t channels, std::uint32_t rate) {
    std::string s = formatBody(0xFFFE, channels, rate, 32);
    put16(s, 22);
    put16(s, 32);
    put32(s, 0);
    put16(s, 3);
    s += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    return s;
}
std::string floats(std::initializer_list<float> values) {
    std::string s;
    for (float v : values) put32(s, std::bit_cast<std::uint32_t>(v));
    return s;
}
void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(WavFile, WrittenSamplesReadBackBitForBit) {
    TemporaryDirectory dir;
    StereoSignal signal;
    signal.sampleRate = 48000;
    signal.left = {0.0f, -0.0f, std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(),
                   -std::numeric_limits<float>::infinity()};
    signal.right = {1.0f, -1.0f, std::bit_cast<float>(0x7FC01234u), 0.3f, -1e-30f};
    writeFloatWav(dir.file("a.wav"), signal);
    const StereoSignal back = readFloatWav(dir.file("a.wav"));
    EXPECT_EQ(back.sampleRate, 48000);
    ASSERT_EQ(back.frames(), signal.frames());
    for (std::size_t i = 0; i < signal.frames(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(back.left[i]), std::bit_cast<std::uint32_t>(signal.left[i])) << i;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(back.right[i]), std::bit_cast<std::uint32_t>(signal.right[i])) << i;
    }
    // 58 header bytes (RIFF, fmt with its extension size, fact, data) and 8 per frame.
    EXPECT_EQ(readText(dir.file("a.wav")).size(), 58u + 8u * signal.frames());
}

TEST(WavFile, MonoExtensibleFileBehindOtherChunksFillsBothChannels) {
    TemporaryDirectory dir;
    writeBytes(dir.file("m.wav"), riff(chunk("LIST", "odd") + chunk("fmt ", extensibleFloatBody(1, 22050)) +
                                       chunk("data", floats({0.25f, -0.5f, 0.75f}))));
    const StereoSignal signal = readFloatWav(dir.file("m.wav"));
    EXPECT_EQ(signal.sampleRate, 22050);
    EXPECT_EQ(signal.left, (std::vector<float>{0.25f, -0.5f, 0.75f}));
    EXPECT_EQ(signal.right, signal.left);
}

TEST(WavFile, DataChunkCutShortKeepsTheWholeFramesThere) {
    TemporaryDirectory dir;
    std::string bytes = riff(chunk("fmt ", formatBody(3, 2, 44100, 32)) + chunk("data", floats({1, 2, 3, 4, 5, 6})));
    bytes.resize(bytes.size() - 6);  // the last frame loses its right sample and part of its left
    writeBytes(dir.file("cut.wav"), bytes);
    const StereoSignal signal = readFloatWav(dir.file("cut.wav"));
    EXPECT_EQ(signal.left, (std::vector<float>{1, 3}));
    EXPECT_EQ(signal.right, (std::vector<float>{2, 4}));
}

TEST(WavFile, FilesItCannotReadAreRefusedWithTheReason) {
    const std::string samples = chunk("data", floats({0.5f, 0.5f}));
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"text", "just some text, not audio", "no RIFF/WAVE header"},
        {"pcm16", riff(chunk("fmt ", formatBody(1, 2, 44100, 16)) + samples), "not 32-bit floats"},
        {"float64", riff(chunk("fmt ", formatBody(3, 2, 44100, 64)) + samples), "not 32-bit floats"},
        {"three channels", riff(chunk("fmt ", formatBody(3, 3, 44100, 32)) + samples), "has 3 channels"},
        {"no data", riff(chunk("fmt ", formatBody(3, 2, 44100, 32))), "no data chunk"},
        {"no format", riff(samples), "no format chunk"},
        {"zero rate", riff(chunk("fmt ", formatBody(3, 2, 0, 32)) + samples), "bad sample rate"},
    };
    TemporaryDirectory dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir.file("bad.wav"), c.bytes);
        try {
            readFloatWav(dir.file("bad.wav"));
            ADD_FAILURE() << "read without complaint";
        } catch (const HostError& error) {
            EXPECT_EQ(error.code(), ExitCode::fileError);
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
}

TEST(WavFile, MissingFileAndUnwritablePathAreFileErrors) {
    TemporaryDirectory dir;
    EXPECT_THROW(
        {
            try {
                readFloatWav(dir.file("absent.wav"));
            } catch (const HostError& error) {
                EXPECT_EQ(error.code(), ExitCode::fileError);
                throw;
            }
        },
        HostError);
    StereoSignal signal;
    signal.resize(4);
    EXPECT_THROW(writeFloatWav(dir.file("no/such/dir.wav"), signal), HostError);
}

}  // namespace
