#include "DemoSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr double kBeatSeconds = 0.5;  // 120 beats per minute
constexpr int kBeats = 8;             // two bars of four
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A fixed noise sequence, so every render of the demo is the same.
class Noise {
public:
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state = 0x9E3779B9u;
};

struct Pan {
    double left;
    double right;
};

void addKick(StereoSignal& s, double at, Pan pan) {
    // A sine falling from 120 Hz to 45 Hz: the phase is the integral of the falling pitch.
    constexpr double length = 0.4, high = 120.0, low = 45.0, sweep = 0.05, decay = 0.12;
    const auto start = static_cast<std::size_t>(at * s.sampleRate);
    const auto count = static_cast<std::size_t>(length * s.sampleRate);
    for (std::size_t i = 0; i < count && start + i < s.frames(); ++i) {
        const double t = static_cast<double>(i) / s.sampleRate;
        const double phase = kTwoPi * (low * t + (high - low) * sweep * (1.0 - std::exp(-t / sweep)));
        const double v = std::sin(phase) * std::exp(-t / decay);
        s.left[start + i] += static_cast<float>(v * pan.left);
        s.right[start + i] += static_cast<float>(v * pan.right);
    }
}

void addSnare(StereoSignal& s, double at, Pan pan, Noise& noise) {
    constexpr double length = 0.25, tone = 190.0, noiseDecay = 0.06, toneDecay = 0.04;
    const auto start = static_cast<std::size_t>(at * s.sampleRate);
    const auto count = static_cast<std::size_t>(length * s.sampleRate);
    for (std::size_t i = 0; i < count && start + i < s.frames(); ++i) {
        const double t = static_cast<double>(i) / s.sampleRate;
        const double v = 0.6 * noise.next() * std::exp(-t / noiseDecay) +
                         0.4 * std::sin(kTwoPi * tone * t) * std::exp(-t / toneDecay);
        s.left[start + i] += static_cast<float>(v * pan.left);
        s.right[start + i] += static_cast<float>(v * pan.right);
    }
}

void addHat(StereoSignal& s, double at, Pan pan, Noise& noise) {
    // The difference of successive noise values leaves mostly the highs.
    constexpr double length = 0.08, decay = 0.015;
    const auto start = static_cast<std::size_t>(at * s.sampleRate);
    const auto count = static_cast<std::size_t>(length * s.sampleRate);
    double previous = 0.0;
    for (std::size_t i = 0; i < count && start + i < s.frames(); ++i) {
        const double t = static_cast<double>(i) / s.sampleRate;
        const double white = noise.next();
        const double v = 0.5 * (white - previous) * std::exp(-t / decay);
        previous = white;
        s.left[start + i] += static_cast<float>(v * pan.left);
        s.right[start + i] += static_cast<float>(v * pan.right);
    }
}

// One chord note with a few harmonics, a slow attack and a release at the end.
void addNote(StereoSignal& s, double frequency, Pan pan) {
    constexpr double attack = 0.3, release = 1.0, level = 0.07;
    constexpr double harmonics[] = {1.0, 0.5, 0.25, 0.125};
    const double end = s.seconds();
    for (std::size_t i = 0; i < s.frames(); ++i) {
        const double t = static_cast<double>(i) / s.sampleRate;
        const double envelope = std::min({1.0, t / attack, (end - t) / release});
        double v = 0.0;
        for (int h = 0; h < 4; ++h) v += harmonics[h] * std::sin(kTwoPi * frequency * (h + 1) * t);
        v *= level * envelope;
        s.left[i] += static_cast<float>(v * pan.left);
        s.right[i] += static_cast<float>(v * pan.right);
    }
}

void normalise(StereoSignal& s, float peak) {
    float largest = 0.0f;
    for (std::size_t i = 0; i < s.frames(); ++i)
        largest = std::max({largest, std::fabs(s.left[i]), std::fabs(s.right[i])});
    if (largest == 0.0f) return;
    const float gain = peak / largest;
    for (std::size_t i = 0; i < s.frames(); ++i) {
        s.left[i] *= gain;
        s.right[i] *= gain;
    }
}

}  // namespace

StereoSignal makeDemoSignal(int sampleRate) {
    StereoSignal s;
    s.sampleRate = sampleRate;
    s.resize(static_cast<std::size_t>(kDemoSeconds * sampleRate));

    // A minor seventh: A2 in the middle, the third and the octave leaning left,
    // the fifth and the seventh leaning right.
    addNote(s, 110.00, {0.7, 0.7});
    addNote(s, 261.63, {0.9, 0.3});
    addNote(s, 220.00, {0.8, 0.4});
    addNote(s, 329.63, {0.3, 0.9});
    addNote(s, 392.00, {0.4, 0.8});

    Noise noise;
    for (int beat = 0; beat < kBeats; ++beat) {
        const double at = beat * kBeatSeconds;
        if (beat % 2 == 0)
            addKick(s, at, {1.0, 1.0});
        else
            addSnare(s, at, {0.9, 0.5}, noise);
        addHat(s, at + kBeatSeconds / 2, {0.3, 0.8}, noise);
    }
    addKick(s, (kBeats - 0.5) * kBeatSeconds, {1.0, 1.0});

    normalise(s, kDemoPeak);
    return s;
}
