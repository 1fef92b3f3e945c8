#include "CompressorCore.h"
#include "ReferenceCompressor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// So low a rate that one sample outlasts any time constant: both coefficients
// are 0 and the gain takes each frame's target at once.
constexpr float kInstantRate = 1.0e-4f;

struct Frame {
    float left;
    float right;
};

std::vector<Frame> run(CompressorCore& core, std::vector<Frame> frames) {
    std::vector<float> left, right;
    for (const Frame& f : frames) {
        left.push_back(f.left);
        right.push_back(f.right);
    }
    core.process(static_cast<std::int32_t>(frames.size()), left.data(), right.data());
    for (std::size_t i = 0; i < frames.size(); ++i) frames[i] = {left[i], right[i]};
    return frames;
}

// Brings the gain from 0 to (almost exactly) 1 with silence and a 1 ms release.
void settleOnSilence(CompressorCore& core) {
    core.setRelease(0.0f);
    run(core, std::vector<Frame>(4096, {0.0f, 0.0f}));
}

// A deterministic test signal: quiet and loud passages, a jump from silence,
// and channels of different level, so every branch of the loop is taken.
std::vector<Frame> mixedSignal(std::size_t length) {
    std::vector<Frame> frames(length);
    std::uint32_t noise = 12345;
    for (std::size_t i = 0; i < length; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const float n = static_cast<float>(noise >> 8) / 16777216.0f - 0.5f;
        const float phase = static_cast<float>(i) * 0.05f;
        const float envelope = (i / 700) % 3 == 0 ? 0.05f : ((i / 700) % 3 == 1 ? 1.6f : 0.0f);
        frames[i] = {envelope * std::sin(phase) + 0.1f * n, envelope * 0.6f * std::cos(phase * 1.3f) - 0.2f * n};
    }
    return frames;
}

TEST(CompressorCore, ConstructionMatchesTheNormalisedMidSettings) {
    CompressorCore core;
    EXPECT_EQ(core.gain(), 0.0f);
    EXPECT_EQ(core.sampleRate(), 44100.0f);
    EXPECT_EQ(core.threshold(), 0.316227764f);
    EXPECT_EQ(core.makeup(), 3.1622777f);
    EXPECT_EQ(core.attackCoef(), 0.997940719f);   // 11 ms at 44100 Hz
    EXPECT_EQ(core.releaseCoef(), 0.999775529f);  // 101 ms

    CompressorCore set;
    set.setThreshold(0.5f);
    set.setAttack(0.1f);
    set.setRelease(0.1f);
    EXPECT_EQ(set.threshold(), core.threshold());
    EXPECT_EQ(set.makeup(), core.makeup());
    EXPECT_EQ(set.attackCoef(), core.attackCoef());
    EXPECT_EQ(set.releaseCoef(), core.releaseCoef());
}

// Expected values worked out from the formulas with every single-precision
// step rounded, independently of this code.
TEST(CompressorCore, ThresholdMappingKeepsItsSinglePrecisionSteps) {
    struct Case {
        float x, threshold, makeup;
    };
    const Case cases[] = {
        {0.0f, 0.100000001f, 10.0f},          // -20 dB
        {0.01f, 0.102329314f, 9.77237129f},   // products in double would give 0.102329306
        {0.02f, 0.104712851f, 9.5499258f},
        {0.25f, 0.177827939f, 5.62341309f},   // -15 dB
        {0.5f, 0.316227764f, 3.1622777f},     // -10 dB
        {0.6f, 0.398107201f, 2.51188636f},    // the default, -8 dB
        {1.0f, 1.0f, 1.0f},                   // 0 dB
    };
    for (const Case& c : cases) {
        CompressorCore core;
        core.setThreshold(c.x);
        EXPECT_EQ(core.threshold(), c.threshold) << "x = " << c.x;
        EXPECT_EQ(core.makeup(), c.makeup) << "x = " << c.x;
        EXPECT_NEAR(core.threshold() * core.makeup(), 1.0f, 1e-6f) << "x = " << c.x;
    }
}

TEST(CompressorCore, AttackAndReleaseCoefficientsFollowTimeAndRate) {
    enum Which { Attack, Release };
    struct Case {
        float rate;
        Which which;
        float x;
        float coefficient;
    };
    const Case cases[] = {
        {44100.0f, Attack, 0.0f, 0.977579415f},     // 1 ms
        {44100.0f, Attack, 0.15f, 0.998583794f},    // 16 ms, the default
        {44100.0f, Attack, 0.25f, 0.999128222f},    // 26 ms
        {48000.0f, Attack, 1.0f, 0.999793768f},     // 101 ms
        {96000.0f, Attack, 0.0f, 0.989637375f},     // 1 ms
        {22050.0f, Release, 0.0f, 0.955661535f},    // 1 ms
        {44100.0f, Release, 0.25f, 0.999909639f},   // 251 ms
        {44100.0f, Release, 0.5f, 0.99995476f},     // 501 ms, the default
        {96000.0f, Release, 1.0f, 0.999989569f},    // 1001 ms
    };
    for (const Case& c : cases) {
        CompressorCore core;
        core.setSampleRate(c.rate);
        const float attackBefore = core.attackCoef();
        const float releaseBefore = core.releaseCoef();
        if (c.which == Attack) {
            core.setAttack(c.x);
            EXPECT_EQ(core.attackCoef(), c.coefficient) << c.rate << " Hz, attack " << c.x;
            EXPECT_EQ(core.releaseCoef(), releaseBefore);
        } else {
            core.setRelease(c.x);
            EXPECT_EQ(core.releaseCoef(), c.coefficient) << c.rate << " Hz, release " << c.x;
            EXPECT_EQ(core.attackCoef(), attackBefore);
        }
    }
}

TEST(CompressorCore, SampleRateAloneRecomputesNothing) {
    CompressorCore core;
    const float attack = core.attackCoef();
    const float release = core.releaseCoef();
    core.setSampleRate(96000.0f);
    EXPECT_EQ(core.attackCoef(), attack);
    EXPECT_EQ(core.releaseCoef(), release);
    core.setAttack(0.0f);
    EXPECT_EQ(core.attackCoef(), 0.989637375f);
}

// The coefficients are time constants: after T ms the gain has covered 1 - 1/e
// of its way to the target, rising with the release and falling with the attack.
TEST(CompressorCore, GainCoversOneMinusOneOverEWithinTheTimeConstant) {
    const float rate = 48000.0f;
    CompressorCore core;
    core.setSampleRate(rate);
    core.setThreshold(0.5f);
    core.setAttack(0.2f);   // 21 ms
    core.setRelease(0.1f);  // 101 ms

    const auto releaseSamples = static_cast<std::size_t>(rate * 0.101f);
    run(core, std::vector<Frame>(releaseSamples, {0.0f, 0.0f}));
    EXPECT_NEAR(core.gain(), 1.0f - std::exp(-1.0f), 2e-4f);

    settleOnSilence(core);
    core.setRelease(0.1f);
    const float start = core.gain();
    const float level = 0.8f;
    const float target = core.threshold() / level;
    const auto attackSamples = static_cast<std::size_t>(rate * 0.021f);
    run(core, std::vector<Frame>(attackSamples, {level, -level}));
    EXPECT_NEAR((start - core.gain()) / (start - target), 1.0f - std::exp(-1.0f), 2e-4f);
}

TEST(CompressorCore, SilenceStaysSilentWhileTheGainRecovers) {
    CompressorCore core;
    const std::vector<Frame> out = run(core, std::vector<Frame>(2000, {0.0f, 0.0f}));
    for (const Frame& f : out) {
        EXPECT_EQ(f.left, 0.0f);
        EXPECT_EQ(f.right, 0.0f);
    }
    ReferenceCompressor reference(44100.0f, 0.5f, 0.1f, 0.1f);
    for (int i = 0; i < 2000; ++i) {
        float l = 0.0f, r = 0.0f;
        reference.run(l, r);
    }
    EXPECT_EQ(core.gain(), reference.gain);
    // From 0 towards 1 with the release: 1 - c^n after n samples.
    EXPECT_NEAR(core.gain(), 1.0 - std::pow(double{core.releaseCoef()}, 2000.0), 1e-5);
}

// With both coefficients 0 the gain is each frame's target, so the detector,
// the threshold test and the clipper can be read off single frames.
TEST(CompressorCore, FramesAtTheEdgesOfDetectorAndClipper) {
    struct Case {
        const char* what;
        float thresholdParam;
        Frame in;
        float gain;
        Frame out;
    };
    const Case cases[] = {
        {"level at the threshold is not reduced", 1.0f, {1.0f, 1.0f}, 1.0f, {0.928478241f, 0.928478241f}},
        {"the detector averages both channels", 1.0f, {2.0f, 0.0f}, 1.0f, {0.999896705f, 0.0f}},
        {"above the threshold, down to the threshold", 1.0f, {4.0f, -2.0f}, 1.0f / 3.0f,
         {0.991327584f, -0.666666687f}},
        {"+0.7 and -0.7 after gain pass unchanged", 1.0f, {0.7f, -0.7f}, 1.0f, {0.7f, -0.7f}},
        {"just below the knee passes unchanged", 1.0f, {0.69999993f, -0.69999993f}, 1.0f,
         {0.69999993f, -0.69999993f}},
        {"makeup lifts a quiet frame", 0.0f, {0.05f, -0.02f}, 1.0f, {0.5f, -0.2f}},
        {"makeup into the clipper", 0.0f, {0.075f, -0.075f}, 1.0f, {0.749542117f, -0.749542117f}},
    };
    for (const Case& c : cases) {
        CompressorCore core;
        core.setSampleRate(kInstantRate);
        core.setThreshold(c.thresholdParam);
        core.setAttack(0.0f);
        core.setRelease(0.0f);
        ASSERT_EQ(core.attackCoef(), 0.0f);
        ASSERT_EQ(core.releaseCoef(), 0.0f);
        const Frame out = run(core, {c.in})[0];
        EXPECT_FLOAT_EQ(core.gain(), c.gain) << c.what;
        EXPECT_FLOAT_EQ(out.left, c.out.left) << c.what;
        EXPECT_FLOAT_EQ(out.right, c.out.right) << c.what;
    }
}

// At half a hertz a 1 ms attack has coefficient 0 (the gain lands on its
// target in one frame) while a 1001 ms release keeps some of the old gain. A
// second frame at the same level then finds gain and target equal; only the
// release coefficient moves the gain off the target, and at this level it does.
TEST(CompressorCore, GainEqualToTargetTakesTheRelease) {
    CompressorCore core;
    core.setSampleRate(0.5f);
    core.setThreshold(1.0f);
    core.setAttack(0.0f);
    core.setRelease(1.0f);
    ASSERT_EQ(core.attackCoef(), 0.0f);
    const float c = core.releaseCoef();
    ASSERT_GT(c, 0.1f);

    run(core, std::vector<Frame>(40, {0.0f, 0.0f}));
    const float level = 1.08108103f;
    const float target = 1.0f / level;
    run(core, {{level, -level}});
    ASSERT_EQ(core.gain(), target);
    run(core, {{level, -level}});
    const float released = (1.0f - c) * target + c * target;
    ASSERT_NE(released, target);
    EXPECT_EQ(core.gain(), released);
}

TEST(CompressorCore, SoftClipKeepsSignAndNeverPassesOne) {
    struct Case {
        double y;
        float expected;
    };
    const Case cases[] = {
        {0.0, 0.0f},
        {0.5, 0.5f},
        {-0.25, -0.25f},
        {double{0.7f}, 0.7f},
        {-double{0.7f}, -0.7f},
        {1.0, 0.928478241f},
        {1.5, 0.997117162f},
        {-1.5, -0.997117162f},
        {10.0, 1.0f},
        {1e30, 1.0f},
        {-1e30, -1.0f},
        {1e300, 1.0f},
        {double{kInf}, 1.0f},
        {-double{kInf}, -1.0f},
    };
    for (const Case& c : cases) EXPECT_EQ(CompressorCore::softClip(c.y), c.expected) << "y = " << c.y;
    EXPECT_TRUE(std::isnan(CompressorCore::softClip(std::nan(""))));

    // Leaving the knee with slope 1: no step at 0.7, and monotonic beyond.
    const double knee = 0.7f;
    EXPECT_NEAR(CompressorCore::softClip(knee + 1e-4), knee + 1e-4, 2e-7);
    float previous = 0.0f;
    for (double y = 0.0; y < 8.0; y += 0.001) {
        const float out = CompressorCore::softClip(y);
        EXPECT_GE(out, previous) << "y = " << y;
        EXPECT_LE(out, 1.0f) << "y = " << y;
        EXPECT_EQ(CompressorCore::softClip(-y), -out) << "y = " << y;
        previous = out;
    }
}

TEST(CompressorCore, HugeAndInfiniteSamplesLeaveAsFullScale) {
    CompressorCore core;
    settleOnSilence(core);
    const std::vector<Frame> out = run(core, {{kInf, -kInf}, {1e30f, -1e30f}, {-3e38f, 3e38f}});
    EXPECT_GT(core.gain(), 0.0f);
    EXPECT_EQ(out[0].left, 1.0f);
    EXPECT_EQ(out[0].right, -1.0f);
    EXPECT_EQ(out[1].left, 1.0f);
    EXPECT_EQ(out[1].right, -1.0f);
    EXPECT_EQ(out[2].left, -1.0f);
    EXPECT_EQ(out[2].right, 1.0f);
}

TEST(CompressorCore, NaNInOneChannelLeavesTheOtherAndTheGainIntact) {
    CompressorCore core;
    settleOnSilence(core);
    core.setRelease(0.5f);
    ReferenceCompressor reference(44100.0f, 0.5f, 0.1f, 0.5f);
    reference.gain = core.gain();

    const std::vector<Frame> out = run(core, {{kNaN, 0.2f}, {0.3f, -kNaN}, {0.9f, 0.9f}});
    float l = 0.2f, r = 0.2f;  // a NaN frame asks for no reduction, like a quiet one
    reference.run(l, r);
    EXPECT_TRUE(std::isnan(out[0].left));
    EXPECT_EQ(out[0].right, r);
    l = 0.3f, r = 0.0f;
    reference.run(l, r);
    EXPECT_EQ(out[1].left, l);
    EXPECT_TRUE(std::isnan(out[1].right));
    l = 0.9f, r = 0.9f;
    reference.run(l, r);
    EXPECT_EQ(out[2].left, l);
    EXPECT_EQ(out[2].right, r);
    EXPECT_EQ(core.gain(), reference.gain);
}

TEST(CompressorCore, NoFramesProcessNothingAndAnswerTheGain) {
    CompressorCore core;
    run(core, std::vector<Frame>(100, {0.0f, 0.0f}));
    const float gain = core.gain();
    ASSERT_GT(gain, 0.0f);
    for (const std::int32_t frames : {0, -1, -512, std::numeric_limits<std::int32_t>::min()}) {
        float left[2] = {0.9f, -0.9f};
        float right[2] = {0.4f, -0.4f};
        EXPECT_EQ(core.process(frames, left, right), gain) << frames;
        EXPECT_EQ(left[0], 0.9f);
        EXPECT_EQ(left[1], -0.9f);
        EXPECT_EQ(right[0], 0.4f);
        EXPECT_EQ(right[1], -0.4f);
        EXPECT_EQ(core.process(frames, nullptr, nullptr), gain) << frames;
    }
    EXPECT_EQ(core.gain(), gain);
}

// The plain per-frame model and the core agree bit for bit, and the gain
// carries over block boundaries so the block size changes nothing.
TEST(CompressorCore, MatchesThePlainModelInAnyBlockSize) {
    const std::vector<Frame> input = mixedSignal(6000);

    ReferenceCompressor reference(44100.0f, 0.3f, 0.05f, 0.02f);
    std::vector<Frame> expected = input;
    for (Frame& f : expected) reference.run(f.left, f.right);

    for (const std::size_t block : {std::size_t{1}, std::size_t{7}, std::size_t{64}, std::size_t{512}, input.size()}) {
        CompressorCore core;
        core.setThreshold(0.3f);
        core.setAttack(0.05f);
        core.setRelease(0.02f);
        std::vector<float> left, right;
        for (const Frame& f : input) {
            left.push_back(f.left);
            right.push_back(f.right);
        }
        float answered = 0.0f;
        for (std::size_t start = 0; start < input.size(); start += block) {
            const auto n = static_cast<std::int32_t>(std::min(block, input.size() - start));
            answered = core.process(n, left.data() + start, right.data() + start);
        }
        int mismatches = 0;
        for (std::size_t i = 0; i < input.size(); ++i)
            if (left[i] != expected[i].left || right[i] != expected[i].right) ++mismatches;
        EXPECT_EQ(mismatches, 0) << "block " << block;
        EXPECT_EQ(answered, reference.gain) << "block " << block;
    }
}

}  // namespace
