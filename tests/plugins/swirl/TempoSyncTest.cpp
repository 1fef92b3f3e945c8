#include "TempoSync.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

struct Case {
    const char* what;
    double tempo;
    float sampleRate;
    double samplePos;
    bool playing;
    std::int32_t samplesPerSixteenth;
    std::int32_t position;
};

TEST(TempoSync, ValuesFollowTheHostsTempoAndPosition) {
    const Case cases[] = {
        {"120 bpm playing", 120.0, 44100.0f, 100000.0, true, 5512, 11800},
        {"120 bpm stopped", 120.0, 44100.0f, 100000.0, false, 5512, -1},
        {"fraction of a sample", 120.0, 44100.0f, 123456.75, true, 5512, 13206},
        {"before the song", 120.0, 44100.0f, -100000.0, true, 5512, -11800},
        {"beyond 32 bits", 120.0, 44100.0f, 4294967296.0 + 100000.0, true, 5512, 11800},
        {"low bits negative", 120.0, 44100.0f, 2147483648.0 + 5.0, true, 5512, -12093},
        {"beyond 64 bits", 120.0, 44100.0f, 1e300, true, 5512, 0},
        {"position NaN", 120.0, 44100.0f, nan, true, 5512, 0},
        {"position infinite", 120.0, 44100.0f, -inf, true, 5512, 0},
        // A negative rate gives a beat of −1 sample: the smallest position over it must not overflow.
        {"beat of minus one", 60.0, -1.5f, -2147483648.0, true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VstTimeInfo info{};
        info.tempo = c.tempo;
        info.samplePos = c.samplePos;
        info.flags = kVstTempoValid | (c.playing ? kVstTransportPlaying : 0);
        const TempoSync sync = tempoSyncFrom(&info, c.sampleRate);
        EXPECT_EQ(sync.samplesPerSixteenth, c.samplesPerSixteenth);
        EXPECT_EQ(sync.position, c.position);
    }
}

TEST(TempoSync, TempoWithoutAUsableBeatCountsAsNoTimeInformation) {
    const Case cases[] = {
        {"zero", 0.0, 44100.0f, 100000.0, true, 1, 1},
        {"negative", -120.0, 44100.0f, 100000.0, true, 1, 1},
        {"NaN", nan, 44100.0f, 100000.0, true, 1, 1},
        {"infinite", inf, 44100.0f, 100000.0, true, 1, 1},
        {"beat shorter than a sample", 3e6, 44100.0f, 100000.0, true, 1, 1},
        {"beat beyond 32 bits", 1e-6, 44100.0f, 100000.0, true, 1, 1},
        {"beat beyond 32 bits once rounded to float", 2646000.0 / 2147483600.0, 44100.0f, 100000.0, true, 1, 1},
        {"rate NaN", 120.0, std::numeric_limits<float>::quiet_NaN(), 100000.0, false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VstTimeInfo info{};
        info.tempo = c.tempo;
        info.samplePos = c.samplePos;
        info.flags = c.playing ? kVstTransportPlaying : 0;
        const TempoSync sync = tempoSyncFrom(&info, c.sampleRate);
        EXPECT_EQ(sync.samplesPerSixteenth, 1);
        EXPECT_EQ(sync.position, 1);
    }
    const TempoSync none = tempoSyncFrom(nullptr, 44100.0f);
    EXPECT_EQ(none.samplesPerSixteenth, 1);
    EXPECT_EQ(none.position, 1);
}

}  // namespace
