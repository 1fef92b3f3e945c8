#include "CompressorCore.h"

#include <cmath>

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Construction settings: the normalised threshold 0.5 and attack/release 0.1.
constexpr float kInitialThresholdDb = -10.0f;
constexpr float kInitialAttackMs = 11.0f;
constexpr float kInitialReleaseMs = 101.0f;

constexpr float kThresholdRangeDb = 20.0f;
constexpr float kMinimumTimeMs = 1.0f;
constexpr float kAttackRangeMs = 100.0f;
constexpr float kReleaseRangeMs = 1000.0f;

constexpr float kMillisecondsToSeconds = 0.001f;
// Amplitude decibels to a power of ten: 10^(dB / 20).
constexpr float kDecibelsToExponent = 0.05f;

// The clipper's knee and the headroom above it add up to exactly 1.0 in single
// precision; the slope factor is a stored constant, not 1 / 0.3, so the curve
// leaves the knee with a slope of almost exactly 1.
constexpr float kClipKnee = 0.7f;
constexpr float kClipHeadroom = 0.3f;
constexpr float kClipSlope = 3.3333333f;

}  // namespace

CompressorCore::CompressorCore() {
    setThresholdDb(kInitialThresholdDb);
    attackCoef_.store(coefficient(sampleRate(), kInitialAttackMs), relaxed);
    releaseCoef_.store(coefficient(sampleRate(), kInitialReleaseMs), relaxed);
}

void CompressorCore::setThreshold(float x) {
    const float thresholdDb = -(1.0f - x) * kThresholdRangeDb;
    setThresholdDb(thresholdDb);
}

void CompressorCore::setAttack(float x) {
    const float milliseconds = kMinimumTimeMs + kAttackRangeMs * x;
    attackCoef_.store(coefficient(sampleRate(), milliseconds), relaxed);
}

void CompressorCore::setRelease(float x) {
    const float milliseconds = kMinimumTimeMs + kReleaseRangeMs * x;
    releaseCoef_.store(coefficient(sampleRate(), milliseconds), relaxed);
}

void CompressorCore::setSampleRate(float rate) { sampleRate_.store(rate, relaxed); }

void CompressorCore::setThresholdDb(float thresholdDb) {
    const float exponent = thresholdDb * kDecibelsToExponent;
    threshold_.store(static_cast<float>(std::pow(10.0, static_cast<double>(exponent))), relaxed);
    makeup_.store(static_cast<float>(std::pow(10.0, static_cast<double>(-exponent))), relaxed);
}

float CompressorCore::coefficient(float sampleRate, float milliseconds) {
    const float samples = sampleRate * kMillisecondsToSeconds * milliseconds;
    const float exponent = -1.0f / samples;
    return static_cast<float>(std::exp(static_cast<double>(exponent)));
}

float CompressorCore::softClip(double y) {
    if (std::fabs(y) < kClipKnee) return static_cast<float>(y);
    if (y > 0.0) return static_cast<float>(kClipKnee + kClipHeadroom * std::tanh((y - kClipKnee) * kClipSlope));
    // Negative samples, and NaN, which passes through as NaN.
    return static_cast<float>(-(kClipKnee + kClipHeadroom * std::tanh((-y - kClipKnee) * kClipSlope)));
}

float CompressorCore::process(std::int32_t frames, float* left, float* right) {
    // Only this call writes the gain, so it can live in a local for the block.
    float gain = gain_.load(relaxed);
    for (std::int32_t i = 0; i < frames; ++i) {
        const float threshold = threshold_.load(relaxed);
        const float makeup = makeup_.load(relaxed);

        const float level =
            static_cast<float>((std::fabs(static_cast<double>(left[i])) + std::fabs(static_cast<double>(right[i]))) * 0.5);
        // A level that does not compare (NaN) asks for no reduction.
        const float target = level > threshold ? threshold / level : 1.0f;
        // Equal gain and target take the release coefficient.
        const float c = gain > target ? attackCoef_.load(relaxed) : releaseCoef_.load(relaxed);
        gain = (1.0f - c) * target + c * gain;

        left[i] = softClip(static_cast<double>(left[i]) * makeup * gain);
        right[i] = softClip(static_cast<double>(right[i]) * makeup * gain);
    }
    gain_.store(gain, relaxed);
    return gain;
}
