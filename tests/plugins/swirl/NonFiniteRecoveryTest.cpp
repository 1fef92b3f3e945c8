// A non-finite sample or parameter may spoil output while it lasts, but must
// not stay in the rings, the allpass states or the feedback values.
#include "StepFlanger.h"
#include "StepPhaser.h"
#include "TestSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr std::size_t ringLength = StepFlanger::ringLength;
constexpr std::size_t length = 6000;
constexpr std::size_t blockLength = 128;

// Both processors behind one signature: parameters at 1.0 (the flanger's
// feedback and the phaser's 0.8 as strong as they get), steps of 20 samples.
struct Flanger {
    StepRandom random{StepRandom::seed};
    StepFlanger flanger{random};
    void process(float* left, float* right, std::int32_t frames, float parameter) {
        flanger.process(frames, left, right, 1.0f, 1.0f, 1.0f, parameter, 0.0f, 20, 0);
    }
};

struct Phaser {
    StepRandom random{StepRandom::seed};
    StepPhaser phaser{random};
    void process(float* left, float* right, std::int32_t frames, float parameter) {
        phaser.process(frames, left, right, 1.0f, parameter, 1.0f, 20, 0, 0.8f);
    }
};

template <typename Processor>
class NonFiniteRecovery : public ::testing::Test {};

using Processors = ::testing::Types<Flanger, Phaser>;
TYPED_TEST_SUITE(NonFiniteRecovery, Processors);

// Runs the signal in blocks; parameter(block) gives the depth of each block.
template <typename Processor, typename DepthOf>
void runBlocks(std::vector<float>& left, std::vector<float>& right, DepthOf depthOf) {
    Processor processor;
    for (std::size_t first = 0; first < left.size(); first += blockLength) {
        const std::size_t frames = std::min(blockLength, left.size() - first);
        processor.process(left.data() + first, right.data() + first, static_cast<std::int32_t>(frames),
                          depthOf(first));
    }
}

TYPED_TEST(NonFiniteRecovery, BadInputSamplesLeaveNoTraceBeyondOneRingLength) {
    const struct {
        const char* name;
        std::vector<float> bad;
    } cases[] = {{"NaN", {nan}}, {"+inf", {inf}}, {"-inf", {-inf}}, {"burst", {nan, inf, -inf, 1e38f, nan, -inf}}};
    const std::vector<float> input = noise(length, 31), inputRight = noise(length, 32);
    std::vector<float> cleanLeft = input, cleanRight = inputRight;
    runBlocks<TypeParam>(cleanLeft, cleanRight, [](std::size_t) { return 1.0f; });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        constexpr std::size_t where = 1000;
        std::vector<float> left = input, right = inputRight;
        for (std::size_t n = 0; n < c.bad.size(); ++n) left[where + n] = c.bad[n];
        runBlocks<TypeParam>(left, right, [](std::size_t) { return 1.0f; });

        EXPECT_FALSE(std::isfinite(left[where]));
        for (std::size_t n = where + c.bad.size() + ringLength; n < length; ++n)
            ASSERT_TRUE(std::isfinite(left[n])) << n;
        // The channels share only the step clock: the other one is untouched.
        for (std::size_t n = 0; n < length; ++n)
            ASSERT_EQ(std::bit_cast<std::uint32_t>(right[n]), std::bit_cast<std::uint32_t>(cleanRight[n])) << n;
    }
}

TYPED_TEST(NonFiniteRecovery, ANonFiniteDepthSpoilsOutputOnlyUntilTheFirstStepAfterIt) {
    const float badDepths[] = {nan, inf};
    for (float bad : badDepths) {
        SCOPED_TRACE(bad);
        std::vector<float> left = noise(length, 33), right = noise(length, 34);
        // Blocks 8 and 9 carry the bad depth; steps come every 20 samples.
        runBlocks<TypeParam>(left, right, [bad](std::size_t first) {
            return first / blockLength == 8 || first / blockLength == 9 ? bad : 1.0f;
        });
        for (std::size_t n = 10 * blockLength + 20 + ringLength; n < length; ++n) {
            ASSERT_TRUE(std::isfinite(left[n])) << n;
            ASSERT_TRUE(std::isfinite(right[n])) << n;
        }
    }
}

}  // namespace
