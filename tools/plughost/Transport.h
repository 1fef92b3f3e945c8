// The song position and tempo the host reports, block by block. The render
// counts as one uninterrupted playback from the start position in 4/4 time;
// a stopped transport stays where it was placed.
#pragma once

#include "HostInterface.h"

#include <cstdint>

struct TransportSettings {
    double sampleRate = 44100.0;
    double tempo = 120.0;
    bool playing = true;
    std::int64_t start = 0;
    /// When false the host answers no time record at all.
    bool timeInfo = true;
};

class Transport {
public:
    explicit Transport(const TransportSettings& settings);

    void setSampleRate(double rate) { settings.sampleRate = rate; }

    /// Places the transport at the block that starts `offset` frames into the render.
    void beginBlock(std::int64_t offset);

    /// The record for the current block, or null when time info is off.
    VstTimeInfo* timeInfo();

    const TransportSettings& current() const { return settings; }

private:
    TransportSettings settings;
    VstTimeInfo record{};
};
