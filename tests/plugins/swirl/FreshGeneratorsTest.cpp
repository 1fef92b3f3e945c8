// The first draws of the library's shared generators. They depend on nothing
// having drawn before, so this program holds no other test.
#include "StepFlanger.h"
#include "StepPhaser.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// The first two states after the seed, read as signed, over the modulus.
const double firstDraw = 1129873917 / 4294967291.0;
const double secondDraw = 1591421545 / 4294967291.0;

TEST(FreshGenerators, FirstStepsOfTheFirstInstancesDrawTheFirstTwoValues) {
    StepFlanger flanger;
    StepPhaser phaser;
    float left = 0.25f, right = -0.25f;
    flanger.process(1, &left, &right, 0.03f, 0.03f, 1.0f, 1.0f, 0.03f, 1, 1);
    EXPECT_NEAR(flanger.getTargetLeft(), 0.52614f, 1e-5f);
    EXPECT_NEAR(flanger.getTargetRight(), 0.74106f, 1e-5f);
    EXPECT_EQ(flanger.getTargetLeft(), static_cast<float>(firstDraw * 2.0));
    EXPECT_EQ(flanger.getTargetRight(), static_cast<float>(secondDraw * 2.0));

    // The phaser draws from its own generator, so it too sees the first values.
    phaser.process(1, &left, &right, 1.0f, 1.0f, 0.03f, 0, 1, 0.8f);
    EXPECT_NEAR(phaser.getCornerLeft(), 0.037711f, 1e-6f);
    EXPECT_NEAR(phaser.getCornerRight(), 0.040148f, 1e-6f);
    EXPECT_EQ(phaser.getCornerLeft(),
              static_cast<float>(firstDraw * StepPhaser::initialSpan + StepPhaser::initialBase));
    EXPECT_EQ(phaser.getCornerRight(),
              static_cast<float>(secondDraw * StepPhaser::initialSpan + StepPhaser::initialBase));
}

}  // namespace
