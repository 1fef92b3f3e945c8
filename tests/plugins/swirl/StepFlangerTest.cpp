#include "StepFlanger.h"
#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr std::int32_t stopped = StepClock::stopped;

struct Settings {
    float trans = 0.03f;
    float feedback = 0.03f;
    float level = 0.03f;
    float depth = 0.03f;
    float time = 0.03f;
};

void run(StepFlanger& flanger, std::vector<float>& left, std::vector<float>& right, const Settings& s,
         std::int32_t samplesPerSixteenth, std::int32_t position, std::size_t first = 0, std::size_t count = 0) {
    if (count == 0) count = left.size() - first;
    flanger.process(static_cast<std::int32_t>(count), left.data() + first, right.data() + first, s.trans,
                    s.feedback, s.level, s.depth, s.time, samplesPerSixteenth, position);
}

// Sample indices within a block at which a step drew new targets.
std::vector<int> stepsDuring(StepFlanger& flanger, int frames, std::int32_t position) {
    const Settings wide{.level = 1.0f, .depth = 1.0f, .time = 0.5f};  // five sixteenths
    std::vector<int> steps;
    float left = 0.0f, right = 0.0f;
    for (int i = 0; i < frames; ++i) {
        const float before = flanger.getTargetLeft();
        flanger.process(1, &left, &right, wide.trans, wide.feedback, wide.level, wide.depth, wide.time, 1, position);
        if (flanger.getTargetLeft() != before) steps.push_back(i);
    }
    return steps;
}

TEST(StepFlanger, FreshFlangerWithoutDepthOrFeedbackEchoesAfter512Samples) {
    StepRandom random{StepRandom::seed};
    StepFlanger flanger{random};
    const std::vector<float> input = noise(2048, 1);
    std::vector<float> left = input, right = noise(2048, 2);
    const std::vector<float> rightInput = right;
    for (std::size_t first = 0; first < input.size(); first += 64)
        run(flanger, left, right, {.feedback = 0.0f, .level = 1.0f, .depth = 0.0f}, 1, 1, first, 64);
    for (std::size_t n = 0; n < input.size(); ++n) {
        const float echoLeft = n < 512 ? 0.0f : input[n - 512];
        const float echoRight = n < 512 ? 0.0f : rightInput[n - 512];
        ASSERT_EQ(left[n], input[n] + echoLeft) << n;
        ASSERT_EQ(right[n], rightInput[n] + echoRight) << n;
    }
}

TEST(StepFlanger, FeedbackAddsThreeQuartersOfTheFinishedOutputToTheRing) {
    const struct {
        float feedback;
        float level;
    } cases[] = {{0.5f, 1.0f}, {1.0f, 0.25f}, {0.03f, 0.7f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.feedback);
        StepRandom random{StepRandom::seed};
        StepFlanger flanger{random};
        const std::vector<float> input = noise(3000, 3);
        std::vector<float> left = input, right = input;
        run(flanger, left, right, {.feedback = c.feedback, .level = c.level, .depth = 0.0f}, 1, 1);
        std::vector<float> ring(input.size());
        for (std::size_t n = 0; n < input.size(); ++n) {
            const float tap = n < 512 ? 0.0f : ring[n - 512];
            const float output = tap * c.level + input[n];
            ring[n] = output * c.feedback * 0.75f + input[n];
            ASSERT_EQ(left[n], output) << n;
        }
    }
}

TEST(StepFlanger, StepLengthCountsOneToNineSixteenthsAndSaturatesOutsideTheRange) {
    constexpr std::int32_t most = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t least = std::numeric_limits<std::int32_t>::min();
    const struct {
        float time;
        std::int32_t stepLength;
    } cases[] = {
        {0.0f, 10},   {0.124f, 10},  {0.125f, 20}, {0.249f, 20}, {0.25f, 30},  {0.375f, 40},
        {0.5f, 50},   {0.625f, 60},  {0.75f, 70},  {0.875f, 80}, {0.999f, 80}, {1.0f, 90},
        {nan, 10},    {inf, most},   {-inf, least}, {1e30f, most}, {-1e30f, least},
    };
    for (const auto& c : cases) {
        StepRandom random{StepRandom::seed};
        StepFlanger flanger{random};
        float left = 0.0f, right = 0.0f;
        flanger.process(0, &left, &right, 0.03f, 0.03f, 1.0f, 1.0f, c.time, 10, stopped);
        EXPECT_EQ(flanger.getClock().getStepLength(), c.stepLength) << c.time;
    }
}

TEST(StepFlanger, GlideRisesWithTransFromItsFloorToAlmostOne) {
    const struct {
        float trans;
        float glide;
    } cases[] = {{0.0f, 0.84999f}, {0.03f, 0.86309f}, {0.5f, 0.98124f}, {1.0f, 0.999989f}};
    for (const auto& c : cases) {
        StepRandom random{StepRandom::seed};
        StepFlanger flanger{random};
        float left = 0.0f, right = 0.0f;
        flanger.process(0, &left, &right, c.trans, 0.0f, 1.0f, 1.0f, 0.0f, 1, stopped);
        EXPECT_NEAR(flanger.getGlide(), c.glide, 5e-6) << c.trans;
    }
}

TEST(StepFlanger, ABlockOfNoFramesStillSetsStepLengthGlideAndSync) {
    StepRandom random{StepRandom::seed};
    StepFlanger flanger{random};
    float left = 0.0f, right = 0.0f;
    flanger.process(0, &left, &right, 1.0f, 0.0f, 1.0f, 1.0f, 0.5f, 10, 7);
    EXPECT_EQ(flanger.getClock().getStepLength(), 50);
    EXPECT_EQ(flanger.getGlide(), 0.149999f + 0.84999f);
    EXPECT_TRUE(flanger.getClock().isSynced());
    EXPECT_EQ(flanger.getClock().getStepCounter(), 7);
    EXPECT_EQ(flanger.getWriteIndex(), 0);
}

TEST(StepFlanger, TransportStartTakesThePositionAsTheCounter) {
    // Steps of five samples; a position at or beyond that starts a step at once.
    const struct {
        std::int32_t position;
        std::vector<int> steps;
    } cases[] = {{0, {5, 10}}, {3, {2, 7}}, {4, {1, 6}}, {5, {0, 5, 10}}, {9, {0, 5, 10}}};
    for (const auto& c : cases) {
        StepRandom random{StepRandom::seed};
        StepFlanger flanger{random};
        EXPECT_EQ(stepsDuring(flanger, 11, c.position), c.steps) << c.position;
    }
}

TEST(StepFlanger, StoppedTransportKeepsTheRhythmAndTheNextStartResyncs) {
    StepRandom random{StepRandom::seed};
    StepFlanger flanger{random};
    EXPECT_EQ(stepsDuring(flanger, 3, 0), std::vector<int>{});
    EXPECT_EQ(flanger.getClock().getStepCounter(), 3);
    EXPECT_EQ(stepsDuring(flanger, 12, stopped), (std::vector<int>{2, 7}));
    EXPECT_FALSE(flanger.getClock().isSynced());
    EXPECT_EQ(flanger.getClock().getStepCounter(), 5);
    // Synced again: the counter takes 1 and later positions are ignored.
    EXPECT_EQ(stepsDuring(flanger, 6, 1), std::vector<int>{4});
    EXPECT_TRUE(flanger.getClock().isSynced());
}

TEST(StepFlanger, NoSamplesPerSixteenthDrawsNewTargetsEverySample) {
    StepRandom random{StepRandom::seed};
    StepRandom sequence{StepRandom::seed};
    StepFlanger flanger{random};
    for (int n = 0; n < 4; ++n) {
        float left = 0.0f, right = 0.0f;
        flanger.process(1, &left, &right, 0.03f, 0.03f, 1.0f, 0.5f, 0.03f, 0, stopped);
        EXPECT_EQ(flanger.getTargetLeft(), static_cast<float>(sequence.next() * 0.5f * 2.0));
        EXPECT_EQ(flanger.getTargetRight(), static_cast<float>(sequence.next() * 0.5f * 2.0));
    }
}

TEST(StepFlanger, ReadIndexFollowsTheSampleRateAsAnAbsoluteRingPosition) {
    const struct {
        float rate;
        std::int32_t readIndex;
    } rates[] = {{44100.0f, 512}, {48000.0f, 557}, {96000.0f, 1114}, {nan, 0}, {1e30f, 2147483647}};
    for (const auto& r : rates) {
        StepRandom random{StepRandom::seed};
        StepFlanger flanger{random};
        flanger.setSampleRate(r.rate);
        EXPECT_EQ(flanger.getReadIndex(), r.readIndex) << r.rate;
    }

    // Set while the write position is at 100, the taps sit 412 ahead of it: 612 samples behind.
    StepRandom random{StepRandom::seed};
    StepFlanger flanger{random};
    std::vector<float> silence(100), silenceRight(100);
    const Settings plainEcho{.feedback = 0.0f, .level = 1.0f, .depth = 0.0f};
    run(flanger, silence, silenceRight, plainEcho, 1, 1);
    flanger.setSampleRate(44100.0f);
    EXPECT_EQ(flanger.getWriteIndex(), 100);
    EXPECT_EQ(flanger.getReadIndex(), 512);
    const std::vector<float> input = noise(1500, 4);
    std::vector<float> left = input, right = input;
    run(flanger, left, right, plainEcho, 1, 1);
    for (std::size_t n = 0; n < input.size(); ++n) ASSERT_EQ(left[n], input[n] + (n < 612 ? 0.0f : input[n - 612])) << n;
}

TEST(StepFlanger, ReadIndexOutsideTheRingIsReducedAsItAdvances) {
    StepRandom random{StepRandom::seed};
    StepFlanger flanger{random};
    flanger.setSampleRate(1e30f);
    float left = 1.0f, right = 1.0f;
    flanger.process(1, &left, &right, 0.03f, 0.03f, 1.0f, 1.0f, 0.03f, 1, 1);
    EXPECT_EQ(flanger.getReadIndex(), 0);
    EXPECT_EQ(flanger.getWriteIndex(), 1);
}

}  // namespace
