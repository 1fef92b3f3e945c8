// The processors written the plainest way, one statement per step of their
// description, without the guards against non-finite values, without atomics
// and without the shared clock. The tests hold the real processors to them
// bit for bit on finite signals.
#pragma once

#include <cmath>
#include <cstdint>

namespace reference {

struct Random {
    std::uint32_t state;

    double next() {
        // Formed in 64 bits and reduced afterwards, unlike the real generator.
        const std::int64_t difference = std::int64_t{1588635695} * (state % 2) - std::int64_t{1117695901} * (state / 2);
        state = static_cast<std::uint32_t>(((difference % 4294967296LL) + 4294967296LL) % 4294967296LL);
        return static_cast<double>(static_cast<std::int32_t>(state)) / 4294967291.0;
    }
};

struct Clock {
    int stepLength = 0;
    int stepCounter = 0;
    bool synced = false;

    void sync(int position) {
        if (position == -1) {
            synced = false;
        } else if (!synced) {
            synced = true;
            stepCounter = position;
        }
    }
};

struct Flanger {
    float ringLeft[1024] = {};
    float ringRight[1024] = {};
    Clock clock;
    float targetLeft = 0, targetRight = 0;
    float glide = 0, rest = 0;
    float modLeft = 0, modRight = 0;
    int writeIndex = 0;
    int readIndex = 512;
    Random random{656446};

    float tap(const float* ring, float mod) const {
        const float d = mod * 256.0f;
        const int k = static_cast<int>(std::floor(static_cast<double>(d)));
        const float f = d - static_cast<float>(k);
        const int p = k + readIndex;
        const float ym1 = ring[(p - 1) & 1023];
        const float y0 = ring[p & 1023];
        const float y1 = ring[(p + 1) & 1023];
        const float y2 = ring[(p + 2) & 1023];
        const float c1 = 0.5f * (y1 - ym1);
        const float c3 = 0.5f * (y2 - ym1) + 1.5f * (y0 - y1);
        const float c2 = (ym1 - y0 + c1) - c3;
        return ((c3 * f + c2) * f + c1) * f + y0;
    }

    void process(int frames, float* left, float* right, float trans, float feedback, float level, float depth,
                 float time, int samplesPerSixteenth, int position) {
        clock.stepLength = (1 - static_cast<int>(time * -8.0f)) * samplesPerSixteenth;
        clock.sync(position);
        glide = (1.0f - (1.0f - trans) * (1.0f - trans) * (1.0f - trans)) * 0.149999f + 0.84999f;
        rest = 1.0f - glide;
        for (int i = 0; i < frames; ++i) {
            if (clock.stepCounter >= clock.stepLength) {
                clock.stepCounter = 0;
                targetLeft = static_cast<float>(random.next() * depth * 2);
                targetRight = static_cast<float>(random.next() * depth * 2);
            }
            modLeft = glide * modLeft + rest * targetLeft;
            modRight = glide * modRight + rest * targetRight;
            ringLeft[writeIndex] = left[i];
            ringRight[writeIndex] = right[i];
            left[i] = tap(ringLeft, modLeft) * level + left[i];
            ringLeft[writeIndex] = left[i] * feedback * 0.75f + ringLeft[writeIndex];
            right[i] = tap(ringRight, modRight) * level + right[i];
            ringRight[writeIndex] = right[i] * feedback * 0.75f + ringRight[writeIndex];
            writeIndex = (writeIndex + 1) & 1023;
            readIndex = (readIndex + 1) & 1023;
            clock.stepCounter = clock.stepCounter + 1;
        }
    }
};

struct Phaser {
    struct Stage {
        float coef = 0, state = 0;
    };
    Stage left[6], right[6];
    float cornerLeft = 0, cornerRight = 0;
    float feedbackLeft = 0, feedbackRight = 0;
    float span = 1000.0f / 44100.0f;
    float base = 1400.0f / 44100.0f;
    Clock clock;
    Random random{656446};

    static float chain(Stage* stages, float corner, float x) {
        const float c = (1 - corner) / (1 + corner);
        float y = 0;
        for (int s = 0; s < 6; ++s) {
            stages[s].coef = c;
            y = stages[s].state - c * x;
            stages[s].state = x + c * y;
            x = y;
        }
        return y;
    }

    void process(int frames, float* l, float* r, float level, float depth, float time, int samplesPerSixteenth,
                 int position, float feedbackFactor) {
        clock.stepLength = (1 - static_cast<int>((1 - time) * -4.0f)) * samplesPerSixteenth;
        clock.sync(position);
        for (int i = 0; i < frames; ++i) {
            if (clock.stepCounter >= clock.stepLength) {
                clock.stepCounter = 0;
                cornerLeft = static_cast<float>(random.next() * depth * span + base);
                cornerRight = static_cast<float>(random.next() * depth * span + base);
            }
            const float inLeft = feedbackLeft * feedbackFactor + l[i];
            const float inRight = feedbackRight * feedbackFactor + r[i];
            const float outLeft = chain(left, cornerLeft, inLeft);
            const float outRight = chain(right, cornerRight, inRight);
            feedbackLeft = outLeft;
            feedbackRight = outRight;
            l[i] = l[i] + (outLeft - l[i]) * level;
            r[i] = r[i] + (outRight - r[i]) * level;
            clock.stepCounter = clock.stepCounter + 1;
        }
    }
};

}  // namespace reference
