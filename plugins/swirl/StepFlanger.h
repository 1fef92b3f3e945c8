// The first stage of the signal path. Each channel runs through a delay ring
// whose tap does not sweep but jumps, every few sixteenth notes, to a new
// random offset and glides there; the tap is read with 4-point Hermite
// interpolation, added to the dry signal and fed back into the ring.
#pragma once

#include "StepClock.h"
#include "StepRandom.h"

#include <atomic>
#include <cstdint>
#include <memory>

class StepFlanger {
public:
    static constexpr std::int32_t ringLength = 1024;
    /// Half a ring behind the write position: 512 samples at 44100 Hz.
    static constexpr std::int32_t initialReadIndex = 512;

    /// Draws its step targets from random (flangerRandom unless a test gives its own).
    explicit StepFlanger(StepRandom& random = flangerRandom);

    /// Processes both buffers in place. position is the block's offset into the
    /// current beat, or StepClock::stopped.
    void process(std::int32_t frames, float* left, float* right, float trans, float feedback, float level,
                 float depth, float time, std::int32_t samplesPerSixteenth, std::int32_t position);

    /// Scales the taps' reference position with the rate (512 at 44100 Hz).
    /// It is an absolute ring position, set without regard to the write
    /// position. The host's thread calls this while blocks may run; a block
    /// that overlaps it leaves the new position in place.
    void setSampleRate(float rate);

    std::int32_t getReadIndex() const { return readIndex.load(std::memory_order_relaxed); }
    std::int32_t getWriteIndex() const { return writeIndex; }
    const StepClock& getClock() const { return clock; }
    float getTargetLeft() const { return targetLeft; }
    float getTargetRight() const { return targetRight; }
    float getGlide() const { return glideLeft; }

private:
    /// Steps 4 to 6 of a sample for one channel: the interpolated tap, the
    /// output and the feedback into the ring position just written.
    float tapOutputAndFeedback(float* ring, float mod, std::uint32_t read, float dry, float level,
                               float feedback);

    StepRandom& random;
    std::unique_ptr<float[]> ringLeft;
    std::unique_ptr<float[]> ringRight;
    StepClock clock;
    float targetLeft = 0.0f;
    float targetRight = 0.0f;
    float glideLeft = 0.0f;
    float restLeft = 0.0f;
    float modLeft = 0.0f;
    float glideRight = 0.0f;
    float restRight = 0.0f;
    float modRight = 0.0f;
    std::int32_t writeIndex = 0;
    std::atomic<std::int32_t> readIndex{initialReadIndex};
};
