#include "StepPhaser.h"

#include "Conversions.h"

#include <cmath>

namespace {

// (1 − D_Time) × −4 counts the sixteenth notes a step falls short of five.
constexpr float timeToSixteenths = -4.0f;
// The corners range over 700 Hz ± 250 Hz.
constexpr float spanHertz = 500.0f;
constexpr float baseHertz = 700.0f;

}  // namespace

void StepPhaser::setSampleRate(float rate) {
    const float nyquist = rate * 0.5f;
    span.store((1.0f / nyquist) * spanHertz, std::memory_order_relaxed);
    base.store((1.0f / nyquist) * baseHertz, std::memory_order_relaxed);
}

void StepPhaser::process(std::int32_t frames, float* left, float* right, float level, float depth, float time,
                         std::int32_t samplesPerSixteenth, std::int32_t position, float feedbackFactor) {
    clock.beginBlock(1 - static_cast<std::int64_t>(truncToInt((1.0f - time) * timeToSixteenths)),
                     samplesPerSixteenth, position);
    const double blockSpan = span.load(std::memory_order_relaxed);
    const double blockBase = base.load(std::memory_order_relaxed);

    for (std::int32_t i = 0; i < frames; ++i) {
        if (clock.stepStarts()) {
            cornerLeft = static_cast<float>(random.next() * depth * blockSpan + blockBase);
            cornerRight = static_cast<float>(random.next() * depth * blockSpan + blockBase);
        }
        const float inLeft = feedbackLeft * feedbackFactor + left[i];
        const float inRight = feedbackRight * feedbackFactor + right[i];

        const float outLeft = runChain(stagesLeft, cornerLeft, inLeft);
        const float outRight = runChain(stagesRight, cornerRight, inRight);

        feedbackLeft = feedbackFrom(stagesLeft, outLeft);
        feedbackRight = feedbackFrom(stagesRight, outRight);

        left[i] = left[i] + (outLeft - left[i]) * level;
        right[i] = right[i] + (outRight - right[i]) * level;
        clock.advance();
    }
}

float StepPhaser::runChain(Chain& chain, float corner, float x) {
    // The plain ratio of the corner fraction, without prewarping.
    const float c = (1.0f - corner) / (1.0f + corner);
    for (AllpassStage& stage : chain) x = stage.process(x, c);
    return x;
}

float StepPhaser::feedbackFrom(Chain& chain, float output) {
    bool finite = std::isfinite(output);
    for (const AllpassStage& stage : chain) finite = finite && std::isfinite(stage.state);
    if (finite) return output;
    for (AllpassStage& stage : chain) stage.state = 0.0f;
    return 0.0f;
}
