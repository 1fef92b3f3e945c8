#include "StepPhaser.h"
#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr std::int32_t stopped = StepClock::stopped;
constexpr float feedbackFactor = 0.8f;

TEST(StepPhaser, BeforeItsFirstStepTheChainPassesItsInputWithFeedback) {
    // D_Time 0.03 gives steps of four sixteenths: 400 samples, the first at counter 400.
    const std::vector<float> input = noise(399, 5);
    const struct {
        float level;
    } levels[] = {{1.0f}, {0.5f}};
    for (const auto& l : levels) {
        StepRandom fresh{StepRandom::seed};
        StepPhaser phaserAtLevel{fresh};
        std::vector<float> left = input, right = input;
        phaserAtLevel.process(static_cast<std::int32_t>(input.size()), left.data(), right.data(), l.level, 1.0f,
                              0.03f, 100, 0, feedbackFactor);
        float previous = 0.0f;
        for (std::size_t n = 0; n < input.size(); ++n) {
            const float chain = input[n] + feedbackFactor * previous;
            previous = chain;
            // With level 1 the chain output alone, with 0.5 the average with the dry signal.
            ASSERT_EQ(left[n], input[n] + (chain - input[n]) * l.level) << n;
            ASSERT_EQ(right[n], left[n]) << n;
        }
        EXPECT_EQ(phaserAtLevel.getCornerLeft(), 0.0f);
        for (const AllpassStage& stage : phaserAtLevel.getStagesLeft()) EXPECT_EQ(stage.state, 0.0f);
    }
}

TEST(StepPhaser, StepLengthCountsFiveToOneSixteenthsWithTheFormulaAtTheEdges) {
    const struct {
        float time;
        std::int32_t sixteenths;
    } cases[] = {
        {0.0f, 5}, {1e-8f, 5}, {0.25f, 4}, {0.25000003f, 4}, {0.26f, 3}, {0.5f, 3},
        {0.75f, 2}, {0.76f, 1}, {1.0f, 1}, {nan, 1},
    };
    for (const auto& c : cases) {
        StepRandom random{StepRandom::seed};
        StepPhaser phaser{random};
        float left = 0.0f, right = 0.0f;
        phaser.process(0, &left, &right, 1.0f, 1.0f, c.time, 7, stopped, feedbackFactor);
        EXPECT_EQ(phaser.getClock().getStepLength(), 7 * c.sixteenths) << c.time;
    }
}

TEST(StepPhaser, ABlockOfNoFramesStillSyncsTheCounter) {
    StepRandom random{StepRandom::seed};
    StepPhaser phaser{random};
    float left = 0.0f, right = 0.0f;
    phaser.process(0, &left, &right, 1.0f, 1.0f, 1.0f, 10, 6, feedbackFactor);
    EXPECT_TRUE(phaser.getClock().isSynced());
    EXPECT_EQ(phaser.getClock().getStepCounter(), 6);
    phaser.process(0, &left, &right, 1.0f, 1.0f, 1.0f, 10, stopped, feedbackFactor);
    EXPECT_FALSE(phaser.getClock().isSynced());
    EXPECT_EQ(phaser.getClock().getStepCounter(), 6);
}

TEST(StepPhaser, WithoutDepthEveryStepSetsBothCornersToTheBase) {
    StepRandom random{StepRandom::seed};
    StepPhaser phaser{random};
    std::vector<float> left = noise(64, 6), right = noise(64, 7);
    phaser.process(64, left.data(), right.data(), 1.0f, 0.0f, 1.0f, 4, 4, feedbackFactor);
    EXPECT_EQ(phaser.getCornerLeft(), StepPhaser::initialBase);
    EXPECT_EQ(phaser.getCornerRight(), StepPhaser::initialBase);
    // At 44100 Hz the 700 Hz corner gives every stage the coefficient 0.93846.
    for (const AllpassStage& stage : phaser.getStagesLeft()) EXPECT_NEAR(stage.coef, 0.93846f, 5e-6f);
    for (const AllpassStage& stage : phaser.getStagesRight()) EXPECT_NEAR(stage.coef, 0.93846f, 5e-6f);
}

TEST(StepPhaser, CornersAtFullDepthStayWithin450And950Hertz) {
    StepRandom random{StepRandom::seed};
    StepPhaser phaser{random};
    const float lowest = StepPhaser::initialBase - 0.5f * StepPhaser::initialSpan;
    const float highest = StepPhaser::initialBase + 0.5f * StepPhaser::initialSpan;
    for (int step = 0; step < 2000; ++step) {
        float left = 0.1f, right = -0.1f;
        phaser.process(1, &left, &right, 1.0f, 1.0f, 1.0f, 0, stopped, feedbackFactor);
        ASSERT_GE(phaser.getCornerLeft(), lowest - 1e-7f);
        ASSERT_LE(phaser.getCornerLeft(), highest + 1e-7f);
        ASSERT_GE(phaser.getCornerRight(), lowest - 1e-7f);
        ASSERT_LE(phaser.getCornerRight(), highest + 1e-7f);
        ASSERT_NE(phaser.getCornerLeft(), phaser.getCornerRight());
    }
}

TEST(StepPhaser, CornerRangeStartsAt44100HertzAndFollowsTheNyquistFrequency) {
    StepRandom random{StepRandom::seed};
    StepPhaser phaser{random};
    EXPECT_EQ(phaser.getSpan(), 0.022675738f);
    EXPECT_EQ(phaser.getBase(), 0.031746034f);
    phaser.setSampleRate(48000.0f);
    EXPECT_EQ(phaser.getSpan(), 0.020833334f);
    EXPECT_EQ(phaser.getBase(), 0.029166667f);
}

}  // namespace
