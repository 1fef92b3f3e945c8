// What the compressor plug-in is: the identity it answers to the host, its
// parameters with their names and defaults, the texts it hands out and the
// layout of its chunk. Everything a host can read about the plug-in without
// running audio is fixed here.
#pragma once

#include "HostInterface.h"

#include <cstdint>

namespace warden {

inline constexpr char kEffectName[] = "Stern Warden";
inline constexpr char kProductString[] = "Stern Warden";
inline constexpr char kVendorString[] = "Velmora Tonal Works";
inline constexpr std::int32_t kVendorVersion = 1000;
inline constexpr std::int32_t kUniqueId = fourCharacters('V', 'T', 'L', 'I');

inline constexpr std::int32_t kProgramCount = 1;
inline constexpr std::int32_t kInputCount = 2;
inline constexpr std::int32_t kOutputCount = 2;
inline constexpr char kDefaultProgramName[] = "Default";

// Longest texts handed to the host; each buffer also takes a terminating zero.
inline constexpr std::int32_t kEffectNameLength = 32;
inline constexpr std::int32_t kVendorTextLength = 64;
inline constexpr std::int32_t kParameterTextLength = 8;
inline constexpr std::int32_t kProgramNameLength = 24;
// The program name's storage: room for the longest name and more.
inline constexpr std::int32_t kProgramNameStorage = 32;

enum ParameterIndex : std::int32_t {
    kThreshold = 0,
    kAttack = 1,
    kRelease = 2,
    // Not a control: the compressor's gain at the last meter update.
    kMeter = 3,
    kParameterCount = 4,
};

struct ParameterInfo {
    /// Null where the parameter has no name to hand out.
    const char* name;
    float defaultValue;
};

// Defaults: threshold -8 dB with +8 dB makeup, 16 ms attack, 501 ms release.
inline constexpr ParameterInfo kParameters[kParameterCount] = {
    {"Thresh", 0.6f},
    {"Attack", 0.15f},
    {"Release", 0.5f},
    {nullptr, 0.0f},
};

// Every parameter carries the same label and display, whatever its value.
inline constexpr char kParameterLabel[] = "Moo";
inline constexpr char kParameterDisplay[] = "A few";

// The chunk is the four parameter values, little-endian single-precision
// floats in index order, with no header.
inline constexpr std::int32_t kChunkSize = kParameterCount * static_cast<std::int32_t>(sizeof(float));

struct CanDoAnswer {
    const char* text;
    std::int32_t answer;
};

// Exact, case-sensitive matches; any other text answers kCanDoOther.
inline constexpr CanDoAnswer kCanDoAnswers[] = {
    {"receiveVstEvents", 1},
    {"receiveVstMidiEvent", -1},
    {"receiveVstTimeInfo", 1},
};
inline constexpr std::int32_t kCanDoOther = -1;

}  // namespace warden
