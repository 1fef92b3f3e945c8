// The pseudo-random generator behind the processors' steps. All instances of
// a processor kind in the process draw from one shared generator, so the
// update of its state is a single compare-and-swap: concurrent draws neither
// repeat nor lose a state, and one caller alone sees the plain sequence.
#pragma once

#include <atomic>
#include <cstdint>

class StepRandom {
public:
    static constexpr std::uint32_t seed = 656446;
    static constexpr std::uint32_t multiplier = 1588635695;
    static constexpr std::uint32_t quotient = 2;
    static constexpr std::uint32_t remainder = 1117695901;
    /// 2^32 − 5, which is multiplier × quotient + remainder.
    static constexpr double modulus = 4294967291.0;

    explicit constexpr StepRandom(std::uint32_t initialState) : state(initialState) {}

    StepRandom(const StepRandom&) = delete;
    StepRandom& operator=(const StepRandom&) = delete;

    /// The state that follows s. The products and the difference wrap modulo
    /// 2^32 with no correction by the modulus: the wrap defines the sequence.
    static constexpr std::uint32_t advance(std::uint32_t s) {
        return multiplier * (s % quotient) - remainder * (s / quotient);
    }

    /// Advances the state and answers it, read as signed, over the modulus:
    /// a value between −0.5000000006 and 0.5000000004.
    double next();

private:
    static_assert(std::atomic<std::uint32_t>::is_always_lock_free);
    std::atomic<std::uint32_t> state;
};

/// Shared by every StepFlanger of the library.
extern StepRandom flangerRandom;
/// Shared by every StepPhaser of the library.
extern StepRandom phaserRandom;
