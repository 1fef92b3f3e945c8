// What the plug-in is: its identity as the host sees it, its parameters and
// the defaults of its programs.
#pragma once

#include "HostInterface.h"

#include <cstdint>

namespace swirl {

inline constexpr char effectName[] = "Umber-Swirl";
inline constexpr char productString[] = "Umber-Swirl";
inline constexpr char vendorString[] = "Velmora Tonal Works";
inline constexpr std::int32_t vendorVersion = 1000;
inline constexpr std::int32_t uniqueId = fourCharacters('V', 'T', 'U', 'S');
inline constexpr std::int32_t inputCount = 2;
inline constexpr std::int32_t outputCount = 2;

inline constexpr std::int32_t programCount = 8;
inline constexpr char defaultProgramName[] = "DEFAULT";

enum Parameter : std::int32_t {
    flangerTrans,     // glide between steps
    flangerFeedback,  // share of the output fed back into the rings
    flangerLevel,     // wet level; the flanger runs only while above 0
    flangerDepth,     // range of the random tap offsets
    flangerTime,      // step length, 1 … 9 sixteenth notes
    phaserLevel,      // mix; the phaser runs only while above 0
    phaserDepth,      // range of the random corners around 700 Hz
    phaserTime,       // step length, 5 … 1 sixteenth notes
    parameterCount
};

inline constexpr const char* parameterNames[parameterCount] = {
    "F_Trans", "F_FB", "F_Level", "F_Depth", "F_Time", "D_Level", "D_Depth", "D_Time",
};
/// Every parameter of every program starts here (bit pattern 0x3CF5C28F).
inline constexpr float defaultValue = 0.03f;
/// The same label and display text serve every parameter at every value.
inline constexpr char parameterLabel[] = "Moo";
inline constexpr char parameterDisplay[] = "A few";

/// The host's capability questions this plug-in answers; any other text gets −1.
struct CanDoAnswer {
    const char* text;
    std::int32_t answer;
};
inline constexpr CanDoAnswer canDoAnswers[] = {
    {"receiveVstEvents", 1},
    {"receiveVstMidiEvent", -1},
    {"receiveVstTimeInfo", 1},
};

/// How much of the phaser's chain output returns to its input.
inline constexpr float phaserFeedbackFactor = 0.8f;

/// Bounds of the texts handed to the host, in characters.
inline constexpr std::int32_t parameterTextLength = 8;
inline constexpr std::int32_t programNameLength = 24;
inline constexpr std::int32_t effectNameLength = 32;
inline constexpr std::int32_t vendorTextLength = 64;

}  // namespace swirl
