#include "Transport.h"

#include <cmath>

namespace {

constexpr int kBeatsPerBar = 4;
constexpr int kBeatUnit = 4;
constexpr double kSecondsPerMinute = 60.0;

}  // namespace

Transport::Transport(const TransportSettings& s) : settings(s) { beginBlock(0); }

void Transport::beginBlock(std::int64_t offset) {
    const std::int64_t position = settings.start + (settings.playing ? offset : 0);
    const double quarterNotes = static_cast<double>(position) / settings.sampleRate * settings.tempo / kSecondsPerMinute;

    record = VstTimeInfo{};
    record.samplePos = static_cast<double>(position);
    record.sampleRate = settings.sampleRate;
    record.ppqPos = quarterNotes;
    record.tempo = settings.tempo;
    record.barStartPos = std::floor(quarterNotes / kBeatsPerBar) * kBeatsPerBar;
    record.timeSigNumerator = kBeatsPerBar;
    record.timeSigDenominator = kBeatUnit;
    record.flags = kVstTempoValid | kVstPpqPosValid | kVstBarsValid | kVstTimeSigValid;
    if (settings.playing) record.flags |= kVstTransportPlaying;
    // Playback begins with the render's first block.
    if (offset == 0) record.flags |= kVstTransportChanged;
}

VstTimeInfo* Transport::timeInfo() { return settings.timeInfo ? &record : nullptr; }
