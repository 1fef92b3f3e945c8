// The second stage of the signal path. Each channel runs through six
// first-order allpass stages with feedback around the chain; the chain's
// corner does not sweep but jumps, every few sixteenth notes, to a new random
// value around 700 Hz, and the chain output is crossfaded with its input.
#pragma once

#include "AllpassStage.h"
#include "StepClock.h"
#include "StepRandom.h"

#include <array>
#include <atomic>
#include <cstdint>

class StepPhaser {
public:
    static constexpr int stageCount = 6;
    /// 500 Hz and 700 Hz as fractions of the Nyquist frequency at 44100 Hz.
    static constexpr float initialSpan = 1000.0f / 44100.0f;
    static constexpr float initialBase = 1400.0f / 44100.0f;

    /// Draws its corners from random (phaserRandom unless a test gives its own).
    explicit StepPhaser(StepRandom& generator = phaserRandom) : random(generator) {}

    /// Processes both buffers in place. position is the block's offset into the
    /// current beat, or StepClock::stopped.
    void process(std::int32_t frames, float* left, float* right, float level, float depth, float time,
                 std::int32_t samplesPerSixteenth, std::int32_t position, float feedbackFactor);

    /// Rescales the corner range to the sample rate's Nyquist frequency. The
    /// host's thread calls this while blocks may run; each block takes the
    /// range at its start.
    void setSampleRate(float rate);

    float getSpan() const { return span.load(std::memory_order_relaxed); }
    float getBase() const { return base.load(std::memory_order_relaxed); }
    float getCornerLeft() const { return cornerLeft; }
    float getCornerRight() const { return cornerRight; }
    const StepClock& getClock() const { return clock; }

    using Chain = std::array<AllpassStage, stageCount>;
    const Chain& getStagesLeft() const { return stagesLeft; }
    const Chain& getStagesRight() const { return stagesRight; }

private:
    /// Runs x through a chain whose stages all take the corner's coefficient.
    static float runChain(Chain& chain, float corner, float x);
    /// The chain output as the next feedback value. A non-finite output or
    /// stage state would circulate forever, so it clears the whole chain.
    static float feedbackFrom(Chain& chain, float output);

    StepRandom& random;
    Chain stagesLeft{};
    Chain stagesRight{};
    float cornerLeft = 0.0f;
    float cornerRight = 0.0f;
    float feedbackLeft = 0.0f;
    float feedbackRight = 0.0f;
    std::atomic<float> span{initialSpan};
    std::atomic<float> base{initialBase};
    StepClock clock;
};
