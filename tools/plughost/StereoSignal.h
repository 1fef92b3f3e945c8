// Audio as the host moves it around: two channels of 32-bit float samples.
#pragma once

#include <cstddef>
#include <vector>

struct StereoSignal {
    int sampleRate = 44100;
    std::vector<float> left;
    std::vector<float> right;

    std::size_t frames() const { return left.size(); }
    double seconds() const { return static_cast<double>(left.size()) / sampleRate; }
    void resize(std::size_t frames) {
        left.assign(frames, 0.0f);
        right.assign(frames, 0.0f);
    }
};
