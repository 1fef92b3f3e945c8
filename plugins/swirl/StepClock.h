// The step rhythm of a processor: a new step whenever the counter reaches the
// step length, with the counter taking the host's beat position once each
// time the transport starts.
#pragma once

#include "Conversions.h"

#include <cstdint>

class StepClock {
public:
    /// The position that says the host's transport is stopped.
    static constexpr std::int32_t stopped = -1;

    /// Block preamble: the step length becomes factor sixteenth notes, then the
    /// counter follows the transport. The product saturates, so a factor from
    /// a parameter far outside its range gives a step that never comes rather
    /// than a wrapped one.
    void beginBlock(std::int64_t factor, std::int32_t samplesPerSixteenth, std::int32_t position) {
        stepLength = saturateToInt(factor * samplesPerSixteenth);
        if (position == stopped) {
            synced = false;
        } else if (!synced) {
            synced = true;
            stepCounter = position;
        }
    }

    /// True when a step starts at this sample; the counter then restarts at 0.
    bool stepStarts() {
        if (stepCounter < stepLength) return false;
        stepCounter = 0;
        return true;
    }

    /// After stepStarts the counter is below stepLength, so this cannot overflow.
    void advance() { ++stepCounter; }

    std::int32_t getStepLength() const { return stepLength; }
    std::int32_t getStepCounter() const { return stepCounter; }
    bool isSynced() const { return synced; }

private:
    std::int32_t stepLength = 0;
    std::int32_t stepCounter = 0;
    bool synced = false;
};
