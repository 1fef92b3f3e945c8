// The processors against their plain transcriptions: bit for bit on finite
// signals, whatever the block sizes and transport positions.
#include "ReferenceModel.h"
#include "StepFlanger.h"
#include "StepPhaser.h"
#include "TestSignals.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

namespace {

// Blocks of 0 … 300 frames; the transport stopped for the first few, then
// playing with positions that vary from block to block.
struct Block {
    std::size_t first;
    std::int32_t frames;
    std::int32_t position;
};

std::vector<Block> blocksOver(std::size_t length) {
    std::vector<Block> blocks;
    std::uint32_t state = 12345;
    for (std::size_t first = 0, n = 0; first < length; ++n) {
        state = state * 1664525u + 1013904223u;
        const auto frames = static_cast<std::int32_t>(std::min<std::size_t>((state >> 16) % 301, length - first));
        const std::int32_t position = n < 4 ? -1 : static_cast<std::int32_t>((n * 37) % 60);
        blocks.push_back({first, frames, n % 9 == 8 ? -1 : position});
        first += static_cast<std::size_t>(frames);
    }
    return blocks;
}

void expectBitIdentical(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t n = 0; n < actual.size(); ++n)
        ASSERT_EQ(std::bit_cast<std::uint32_t>(actual[n]), std::bit_cast<std::uint32_t>(expected[n]))
            << "sample " << n << ": " << actual[n] << " instead of " << expected[n];
}

TEST(ReferenceComparison, FlangerMatchesThePlainVersionBitForBit) {
    const struct {
        float trans, feedback, level, depth, time;
        std::int32_t samplesPerSixteenth;
        float amplitude;
    } cases[] = {
        {0.03f, 0.03f, 0.03f, 0.03f, 0.03f, 1, 1.0f},      {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 3, 1.0f},
        {0.5f, 0.9f, 0.7f, 1.0f, 0.2f, 50, 1.0f},          {0.0f, 0.0f, 1.0f, 0.5f, 0.0f, 0, 1.0f},
        {0.2f, 1.0f, 1.0f, 1.0f, 0.9f, 5512, 1000.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.samplesPerSixteenth);
        const std::vector<float> inputLeft = noise(8000, 21, c.amplitude), inputRight = noise(8000, 22, c.amplitude);
        std::vector<float> left = inputLeft, right = inputRight;
        std::vector<float> expectedLeft = inputLeft, expectedRight = inputRight;
        StepRandom random{StepRandom::seed};
        StepFlanger flanger{random};
        reference::Flanger plain;
        for (const Block& b : blocksOver(left.size())) {
            flanger.process(b.frames, left.data() + b.first, right.data() + b.first, c.trans, c.feedback, c.level,
                            c.depth, c.time, c.samplesPerSixteenth, b.position);
            plain.process(b.frames, expectedLeft.data() + b.first, expectedRight.data() + b.first, c.trans,
                          c.feedback, c.level, c.depth, c.time, c.samplesPerSixteenth, b.position);
        }
        expectBitIdentical(left, expectedLeft);
        expectBitIdentical(right, expectedRight);
    }
}

TEST(ReferenceComparison, PhaserMatchesThePlainVersionBitForBit) {
    const struct {
        float level, depth, time;
        std::int32_t samplesPerSixteenth;
        float amplitude;
    } cases[] = {
        {0.03f, 0.03f, 0.03f, 1, 1.0f},
        {1.0f, 1.0f, 1.0f, 3, 1.0f},
        {0.5f, 1.0f, 0.3f, 40, 1.0f},
        {1.0f, 0.0f, 0.0f, 0, 1000.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.samplesPerSixteenth);
        const std::vector<float> inputLeft = noise(8000, 23, c.amplitude), inputRight = noise(8000, 24, c.amplitude);
        std::vector<float> left = inputLeft, right = inputRight;
        std::vector<float> expectedLeft = inputLeft, expectedRight = inputRight;
        StepRandom random{StepRandom::seed};
        StepPhaser phaser{random};
        reference::Phaser plain;
        for (const Block& b : blocksOver(left.size())) {
            phaser.process(b.frames, left.data() + b.first, right.data() + b.first, c.level, c.depth, c.time,
                           c.samplesPerSixteenth, b.position, 0.8f);
            plain.process(b.frames, expectedLeft.data() + b.first, expectedRight.data() + b.first, c.level, c.depth,
                          c.time, c.samplesPerSixteenth, b.position, 0.8f);
        }
        expectBitIdentical(left, expectedLeft);
        expectBitIdentical(right, expectedRight);
    }
}

}  // namespace
