// plughost with another maker's plug-in: Debian's build of the ZamCompX2
// compressor, which has a side-chain input and exports only the older entry name.
#include "JsonReader.h"
#include "RunPlughost.h"
#include "WavFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

namespace {

const std::string kPeer = VT_PEER_PLUGIN;

double rms(const std::vector<float>& samples, std::size_t from) {
    double sum = 0.0;
    for (std::size_t i = from; i < samples.size(); ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(samples.size() - from));
}

class HostWithPeer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(kPeer)) << kPeer << " is missing: install Debian's zam-plugins";
    }
    TemporaryDirectory dir;
};

TEST_F(HostWithPeer, InfoListsItsParameters) {
    const RunResult run = runPlughost({"info", kPeer, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const JsonValue info = parseJson(run.out);
    EXPECT_EQ(info["effectName"].text, "ZamCompX2");
    EXPECT_EQ(info["uniqueId"]["text"].text, "ZCP2");
    EXPECT_EQ(info["inputs"].number, 3);
    EXPECT_EQ(info["outputs"].number, 2);
    const std::vector<std::string> names = {"Attack", "Release", "Knee", "Ratio", "Threshold", "Makeup", "Slew"};
    const JsonValue& parameters = info["parameters"];
    ASSERT_GE(parameters.items.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(parameters[i]["index"].number, static_cast<double>(i));
        EXPECT_EQ(parameters[i]["name"].text, names[i]);
        EXPECT_GE(parameters[i]["value"].number, 0.0);
        EXPECT_LE(parameters[i]["value"].number, 1.0);
    }
    EXPECT_EQ(parameters[4]["label"].text, "dB");
}

TEST_F(HostWithPeer, LoudSignalComesOutQuieterWithTheThresholdLowered) {
    // A second of a 220 Hz sine just below full scale.
    StereoSignal loud;
    loud.sampleRate = 44100;
    loud.resize(44100);
    for (std::size_t i = 0; i < loud.frames(); ++i) {
        loud.left[i] = 0.9f * static_cast<float>(std::sin(2.0 * std::numbers::pi * 220.0 * i / 44100.0));
        loud.right[i] = loud.left[i];
    }
    const std::string in = dir.file("loud.wav"), out = dir.file("out.wav"), plain = dir.file("plain.wav");
    writeFloatWav(in, loud);

    // Parameter 4 is the threshold, 1.0 at its top of 0 dB.
    RunResult run = runPlughost({"render", kPeer, "-i", in, "-o", out, "--param", "4=0.5"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const StereoSignal squeezed = readFloatWav(out);
    ASSERT_EQ(squeezed.frames(), loud.frames());
    // Past the attack, the level sits well under the input's.
    const std::size_t settled = loud.frames() / 2;
    EXPECT_LT(rms(squeezed.left, settled), 0.5 * rms(loud.left, settled));
    EXPECT_LT(rms(squeezed.right, settled), 0.5 * rms(loud.right, settled));
    EXPECT_GT(rms(squeezed.left, settled), 0.0);

    // With its threshold at the top the same signal passes at its own level.
    run = runPlughost({"render", kPeer, "-i", in, "-o", plain, "--param", "4=1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NEAR(rms(readFloatWav(plain).left, settled), rms(loud.left, settled), 0.05 * rms(loud.left, settled));
}

}  // namespace
