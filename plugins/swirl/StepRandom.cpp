#include "StepRandom.h"

double StepRandom::next() {
    std::uint32_t current = state.load(std::memory_order_relaxed);
    std::uint32_t following = advance(current);
    // On failure current holds the state another thread stored meanwhile.
    while (!state.compare_exchange_weak(current, following, std::memory_order_relaxed)) following = advance(current);
    return static_cast<std::int32_t>(following) / modulus;
}

// Constant-initialised, so both hold the seed before any code of the library runs.
constinit StepRandom flangerRandom{StepRandom::seed};
constinit StepRandom phaserRandom{StepRandom::seed};
