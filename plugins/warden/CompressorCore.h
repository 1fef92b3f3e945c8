// The compressor's whole signal path: a stereo-linked detector, an infinite
// ratio above the threshold with makeup equal to the threshold's inverse,
// one-pole attack/release smoothing of the gain, and a tanh soft clipper on
// every output sample. Takes the user parameters normalised to 0 ... 1.
#pragma once

#include <atomic>
#include <cstdint>

class CompressorCore {
public:
    /// Used until the owner sets the host's rate; the frame starts at the same rate.
    static constexpr float kInitialSampleRate = 44100.0f;

    /// Threshold -10 dB with +10 dB makeup, 11 ms attack, 101 ms release, gain 0.
    CompressorCore();

    /// Normalised threshold x: threshold -(1 - x) * 20 dB, makeup the inverse.
    void setThreshold(float x);
    /// Normalised attack x: 1 + 100 * x milliseconds at the current sample rate.
    void setAttack(float x);
    /// Normalised release x: 1 + 1000 * x milliseconds at the current sample rate.
    void setRelease(float x);
    /// Stores the rate only; the owner calls the three setters afterwards.
    void setSampleRate(float rate);

    /// Compresses and clips both buffers in place; answers the gain after the
    /// last sample (the current gain when frames <= 0).
    float process(std::int32_t frames, float* left, float* right);

    /// exp(-1 / (fs * 0.001 * T)): the smoother covers 1 - 1/e of a step in T ms.
    static float coefficient(float sampleRate, float milliseconds);
    /// The fixed clipper: unchanged below 0.7 in magnitude, tanh knee above, never past 1.
    static float softClip(double y);

    float gain() const { return gain_.load(std::memory_order_relaxed); }
    float threshold() const { return threshold_.load(std::memory_order_relaxed); }
    float attackCoef() const { return attackCoef_.load(std::memory_order_relaxed); }
    float releaseCoef() const { return releaseCoef_.load(std::memory_order_relaxed); }
    float makeup() const { return makeup_.load(std::memory_order_relaxed); }
    float sampleRate() const { return sampleRate_.load(std::memory_order_relaxed); }

private:
    void setThresholdDb(float thresholdDb);

    // The setters run on the host's or the panel's thread while process reads
    // every field afresh for each sample: each value is handed over whole.
    std::atomic<float> gain_{0.0f};
    std::atomic<float> threshold_{0.0f};
    std::atomic<float> attackCoef_{0.0f};
    std::atomic<float> releaseCoef_{0.0f};
    std::atomic<float> makeup_{0.0f};
    std::atomic<float> sampleRate_{kInitialSampleRate};
};
