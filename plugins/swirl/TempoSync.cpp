#include "TempoSync.h"

#include "StepClock.h"

#include <cmath>

namespace {

constexpr double secondsPerMinute = 60.0;
constexpr double beatsPerSixteenth = 0.25;
constexpr double twoToThe32 = 4294967296.0;

// Whether truncating x toward zero gives a 32-bit integer; false for NaN.
bool truncatesIntoInt32(double x) { return x > -2147483649.0 && x < 2147483648.0; }

}  // namespace

std::int32_t positionLowBits(double samplePos) {
    if (!std::isfinite(samplePos)) return 0;
    // fmod is exact and removes whole multiples of 2^32 only, so the low 32
    // bits of the integer part survive, beyond the 64-bit range too.
    const auto whole = static_cast<std::int64_t>(std::fmod(samplePos, twoToThe32));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(whole));
}

TempoSync tempoSyncFrom(const VstTimeInfo* info, float sampleRate) {
    TempoSync sync;
    if (info == nullptr) return sync;
    const double tempo = info->tempo;
    if (!(tempo > 0.0) || !std::isfinite(tempo)) return sync;

    const double samplesPerBeat = secondsPerMinute / tempo * sampleRate;
    if (!truncatesIntoInt32(samplesPerBeat)) return sync;
    // The beat length the position is reduced by is the float-rounded one.
    const auto roundedBeat = static_cast<float>(samplesPerBeat);
    if (!truncatesIntoInt32(roundedBeat)) return sync;
    const auto beat = static_cast<std::int32_t>(roundedBeat);
    if (beat == 0) return sync;

    sync.samplesPerSixteenth = static_cast<std::int32_t>(samplesPerBeat * beatsPerSixteenth);
    if ((info->flags & kVstTransportPlaying) != 0) {
        // In 64 bits, so the smallest position over a beat of −1 cannot overflow.
        const std::int64_t remainder = static_cast<std::int64_t>(positionLowBits(info->samplePos)) % beat;
        sync.position = static_cast<std::int32_t>(remainder);
    } else {
        sync.position = StepClock::stopped;
    }
    return sync;
}
