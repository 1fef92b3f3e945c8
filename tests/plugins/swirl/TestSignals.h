// Small deterministic signals for the processor tests.
#pragma once

#include <cstdint>
#include <vector>

/// Noise in −amplitude … amplitude from a fixed seed, the same on every build.
inline std::vector<float> noise(std::size_t length, std::uint32_t seed, float amplitude = 1.0f) {
    std::vector<float> samples(length);
    std::uint32_t state = seed;
    for (float& sample : samples) {
        state = state * 1664525u + 1013904223u;
        sample = (static_cast<float>(state >> 8) / 8388608.0f - 1.0f) * amplitude;
    }
    return samples;
}
