#include "StepFlanger.h"

#include "Conversions.h"
#include "NonFinite.h"

namespace {

constexpr std::uint32_t ringMask = StepFlanger::ringLength - 1;
// A full modulation of ±1 swings the tap by ±256 samples, a quarter ring.
constexpr float tapSwing = 256.0f;
// F_Time × −8 counts the extra sixteenth notes of a step: 1 … 9 in all.
constexpr float timeToSixteenths = -8.0f;
// The glide runs from 0.84999 (trans 0) to 0.999989 (trans 1).
constexpr float glideRange = 0.149999f;
constexpr float glideFloor = 0.84999f;
// The finished output is fed back at three quarters of F_FB.
constexpr float feedbackScale = 0.75f;
// At 44100 Hz the taps sit 512 samples from the write position.
constexpr double referencePeriod = 1.0 / 44100.0;
constexpr double referenceReadIndex = 512.0;

std::int32_t nextIndex(std::int32_t index) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(index) + 1) & ringMask);
}

}  // namespace

StepFlanger::StepFlanger(StepRandom& generator)
    : random(generator), ringLeft(new float[ringLength]()), ringRight(new float[ringLength]()) {}

void StepFlanger::setSampleRate(float rate) {
    readIndex.store(truncToInt(static_cast<double>(rate) * referencePeriod * referenceReadIndex),
                    std::memory_order_relaxed);
}

void StepFlanger::process(std::int32_t frames, float* left, float* right, float trans, float feedback, float level,
                          float depth, float time, std::int32_t samplesPerSixteenth, std::int32_t position) {
    clock.beginBlock(1 - static_cast<std::int64_t>(truncToInt(time * timeToSixteenths)), samplesPerSixteenth,
                     position);

    const float untrans = 1.0f - trans;
    const float g = (1.0f - untrans * untrans * untrans) * glideRange + glideFloor;
    glideLeft = g;
    glideRight = g;
    restLeft = 1.0f - g;
    restRight = 1.0f - g;

    const std::int32_t readAtStart = readIndex.load(std::memory_order_relaxed);
    std::int32_t read = readAtStart;
    for (std::int32_t i = 0; i < frames; ++i) {
        if (clock.stepStarts()) {
            targetLeft = static_cast<float>(random.next() * depth * 2.0);
            targetRight = static_cast<float>(random.next() * depth * 2.0);
        }
        // Only a parameter far outside its range makes the modulation
        // non-finite; it is not kept, so the glide recovers with the parameter.
        modLeft = finiteOrZero(glideLeft * modLeft + restLeft * targetLeft);
        modRight = finiteOrZero(glideRight * modRight + restRight * targetRight);

        ringLeft[writeIndex] = left[i];
        ringRight[writeIndex] = right[i];

        const auto readPosition = static_cast<std::uint32_t>(read);
        left[i] = tapOutputAndFeedback(ringLeft.get(), modLeft, readPosition, left[i], level, feedback);
        right[i] = tapOutputAndFeedback(ringRight.get(), modRight, readPosition, right[i], level, feedback);

        writeIndex = nextIndex(writeIndex);
        read = nextIndex(read);
        clock.advance();
    }
    // A new read position stored by the host during the block stays.
    std::int32_t expected = readAtStart;
    readIndex.compare_exchange_strong(expected, read, std::memory_order_relaxed);
}

float StepFlanger::tapOutputAndFeedback(float* ring, float mod, std::uint32_t read, float dry, float level,
                                        float feedback) {
    const float d = mod * tapSwing;
    const std::int32_t k = floorToInt(d);
    const float f = d - static_cast<float>(k);
    // Unsigned, so the sum wraps like the ring instead of overflowing.
    const std::uint32_t p = static_cast<std::uint32_t>(k) + read;

    const float ym1 = ring[(p - 1) & ringMask];
    const float y0 = ring[p & ringMask];
    const float y1 = ring[(p + 1) & ringMask];
    const float y2 = ring[(p + 2) & ringMask];

    const float c1 = 0.5f * (y1 - ym1);
    const float c3 = 0.5f * (y2 - ym1) + 1.5f * (y0 - y1);
    const float c2 = (ym1 - y0 + c1) - c3;
    const float tap = ((c3 * f + c2) * f + c1) * f + y0;

    const float output = tap * level + dry;
    float& written = ring[writeIndex];
    written = finiteOrZero(output * feedback * feedbackScale + written);
    return output;
}
