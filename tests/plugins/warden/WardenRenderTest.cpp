// Whole renders through the effect record, held against the plain model.
#include "ReferenceCompressor.h"
#include "WardenEffectFixture.h"

#include <algorithm>
#include <cmath>

namespace {

using WardenRenderTest = WardenEffectFixture;

constexpr float kRate = 48000.0f;

std::vector<float> tone(std::size_t length, float amplitude, float cyclesPerSample) {
    std::vector<float> samples(length);
    for (std::size_t i = 0; i < length; ++i)
        samples[i] = amplitude * std::sin(6.2831853f * cyclesPerSample * static_cast<float>(i));
    return samples;
}

float detectorLevel(float left, float right) { return (std::fabs(left) + std::fabs(right)) * 0.5f; }

TEST_F(WardenRenderTest, MatchesTheModelSampleBySampleAcrossParameterChanges) {
    dispatch(effSetSampleRate, 0, 0, nullptr, kRate);
    ReferenceCompressor reference(kRate, 0.6f, 0.15f, 0.5f);

    // Quiet, then loud, then quieter again; parameters change between passages.
    struct Passage {
        float amplitude;
        std::size_t block;
        float threshold, attack, release;
    };
    const Passage passages[] = {
        {0.1f, 512, 0.6f, 0.15f, 0.5f},
        {1.4f, 64, 0.6f, 0.15f, 0.5f},
        {1.4f, 333, 0.2f, 0.0f, 0.05f},
        {0.3f, 1000, 0.9f, 0.7f, 0.0f},
    };
    for (const Passage& p : passages) {
        setParameter(0, p.threshold);
        setParameter(1, p.attack);
        setParameter(2, p.release);
        reference.set(kRate, p.threshold, p.attack, p.release);

        std::vector<float> left = tone(4800, p.amplitude, 0.011f);
        std::vector<float> right = tone(4800, 0.7f * p.amplitude, 0.017f);
        std::vector<float> expectedLeft = left, expectedRight = right;
        for (std::size_t i = 0; i < left.size(); ++i) reference.run(expectedLeft[i], expectedRight[i]);

        render(left, right, p.block);
        int mismatches = 0;
        for (std::size_t i = 0; i < left.size(); ++i)
            if (left[i] != expectedLeft[i] || right[i] != expectedRight[i]) ++mismatches;
        EXPECT_EQ(mismatches, 0) << "amplitude " << p.amplitude << ", blocks of " << p.block;
    }
    EXPECT_EQ(effect->compressor().gain(), reference.gain);
}

// A loud steady signal is held at the threshold and lifted back by the
// makeup: the level into the clipper settles at 1.0, so the output's level is
// the clipper's answer to 1.0, and no sample passes full scale on the way.
TEST_F(WardenRenderTest, LoudSignalSettlesAtFullLevelAndNeverPassesOne) {
    dispatch(effSetSampleRate, 0, 0, nullptr, kRate);
    setParameter(2, 0.05f);  // the gain rises from 0 to its target with a 51 ms release
    std::vector<float> left(48000), right(48000);
    for (std::size_t i = 0; i < left.size(); ++i) {
        const float sign = (i / 40) % 2 == 0 ? 1.0f : -1.0f;  // a square wave, level 2.0
        left[i] = 2.5f * sign;
        right[i] = -1.5f * sign;
    }
    render(left, right, 256);
    for (std::size_t i = 0; i < left.size(); ++i) {
        ASSERT_LE(std::fabs(left[i]), 1.0f) << i;
        ASSERT_LE(std::fabs(right[i]), 1.0f) << i;
    }
    const float gain = effect->compressor().gain();
    const float makeup = effect->compressor().makeup();
    EXPECT_NEAR(2.0f * makeup * gain, 1.0f, 1e-4f);
    EXPECT_NEAR(left.back(), -CompressorCore::softClip(2.5 * makeup * gain), 1e-6f);
    EXPECT_NEAR(right.back(), CompressorCore::softClip(1.5 * makeup * gain), 1e-6f);
    // The channels keep their balance: one gain for both.
    EXPECT_NEAR(detectorLevel(left.back(), right.back()),
                (CompressorCore::softClip(2.5 * makeup * gain) + CompressorCore::softClip(1.5 * makeup * gain)) / 2.0f,
                1e-6f);

    // A sudden jump after silence overshoots into the clipper, never past it.
    std::vector<float> jumpLeft(9600, 0.0f), jumpRight(9600, 0.0f);
    std::fill(jumpLeft.begin() + 4800, jumpLeft.end(), 8.0f);
    std::fill(jumpRight.begin() + 4800, jumpRight.end(), -8.0f);
    setParameter(2, 0.0f);
    render(jumpLeft, jumpRight, 512);
    EXPECT_GT(jumpLeft[4800], 0.99f);
    for (std::size_t i = 0; i < jumpLeft.size(); ++i) {
        ASSERT_LE(std::fabs(jumpLeft[i]), 1.0f) << i;
        ASSERT_LE(std::fabs(jumpRight[i]), 1.0f) << i;
    }
}

TEST_F(WardenRenderTest, QuietSignalPassesWithTheMakeupGainOnly) {
    dispatch(effSetSampleRate, 0, 0, nullptr, kRate);
    setParameter(2, 0.0f);  // a 1 ms release lifts the gain to 1 within the first block
    const float makeup = effect->compressor().makeup();
    ASSERT_NEAR(makeup, 2.51188636f, 1e-6f);  // +8 dB

    std::vector<float> left = tone(9600, 0.25f, 0.013f);
    std::vector<float> right = tone(9600, 0.1f, 0.021f);
    const std::vector<float> inLeft = left, inRight = right;
    render(left, right, 480);
    for (std::size_t i = 4800; i < left.size(); ++i) {
        EXPECT_NEAR(left[i], inLeft[i] * makeup, 1e-6f) << i;
        EXPECT_NEAR(right[i], inRight[i] * makeup, 1e-6f) << i;
    }
}

// Until the host sets a rate the audio already follows the default parameters;
// the gain starts at 0, so the first output fades in.
TEST_F(WardenRenderTest, FirstOutputFadesInWithTheRelease) {
    std::vector<float> left(44100, 0.05f), right(44100, -0.05f);
    render(left, right, 1024);
    ReferenceCompressor reference(44100.0f, 0.6f, 0.15f, 0.5f);
    float l = 0.05f, r = -0.05f;
    reference.run(l, r);
    EXPECT_EQ(left[0], l);
    EXPECT_LT(left[0], 0.001f);
    for (std::size_t i = 1; i < left.size(); ++i) ASSERT_GE(left[i], left[i - 1]) << i;
    // 1 s is about two release time constants of 501 ms.
    EXPECT_NEAR(left.back() / (0.05f * 2.51188636f), 1.0f - std::exp(-1000.0f / 501.0f), 1e-3f);
}

}  // namespace
