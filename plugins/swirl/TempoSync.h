// The tempo-sync values that both processors receive once per block, formed
// from the host's time record.
#pragma once

#include "HostInterface.h"

#include <cstdint>

struct TempoSync {
    /// Step lengths count in these; 1 without time information.
    std::int32_t samplesPerSixteenth = 1;
    /// The block's offset into the current beat, StepClock::stopped while the
    /// transport is stopped; 1 without time information.
    std::int32_t position = 1;
};

/// The values for a block; info may be null. A record whose tempo gives no
/// usable beat length (not above 0, not finite, too long for a 32-bit count,
/// or shorter than one sample) counts as no time information.
TempoSync tempoSyncFrom(const VstTimeInfo* info, float sampleRate);

/// The host's sample position truncated toward zero and cut to its low 32
/// bits as a signed integer, for every finite position; a position that is
/// not finite counts as 0.
std::int32_t positionLowBits(double samplePos);
