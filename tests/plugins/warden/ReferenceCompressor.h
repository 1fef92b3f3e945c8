// A plain model of the compressor written straight from its formulas, one
// frame at a time, so the plug-in's sample path can be held against it. It
// shares no code with the plug-in.
#pragma once

#include <cmath>

struct ReferenceCompressor {
    float gain = 0.0f;
    float threshold = 0.0f;
    float makeup = 0.0f;
    float attackCoef = 0.0f;
    float releaseCoef = 0.0f;

    ReferenceCompressor(float sampleRate, float thresholdParam, float attackParam, float releaseParam) {
        set(sampleRate, thresholdParam, attackParam, releaseParam);
    }

    void set(float sampleRate, float thresholdParam, float attackParam, float releaseParam) {
        const float db = -(1.0f - thresholdParam) * 20.0f;
        const float exponent = db * 0.05f;
        threshold = static_cast<float>(std::pow(10.0, double{exponent}));
        makeup = static_cast<float>(std::pow(10.0, -double{exponent}));
        attackCoef = coef(sampleRate, 1.0f + 100.0f * attackParam);
        releaseCoef = coef(sampleRate, 1.0f + 1000.0f * releaseParam);
    }

    static float coef(float sampleRate, float ms) {
        const float samples = sampleRate * 0.001f * ms;
        return static_cast<float>(std::exp(double{-1.0f / samples}));
    }

    static float clip(double y) {
        const double knee = 0.7f, headroom = 0.3f, slope = 3.3333333f;
        if (y > -knee && y < knee) return static_cast<float>(y);
        if (y > 0.0) return static_cast<float>(knee + headroom * std::tanh((y - knee) * slope));
        return static_cast<float>(-(knee + headroom * std::tanh((-y - knee) * slope)));
    }

    void run(float& left, float& right) {
        const double sum = std::fabs(double{left}) + std::fabs(double{right});
        const float level = static_cast<float>(sum / 2.0);
        float target = 1.0f;
        if (level > threshold) target = threshold / level;
        const float c = (gain > target) ? attackCoef : releaseCoef;
        const float kept = c * gain;
        const float moved = (1.0f - c) * target;
        gain = moved + kept;
        left = clip(double{left} * double{makeup} * double{gain});
        right = clip(double{right} * double{makeup} * double{gain});
    }
};
