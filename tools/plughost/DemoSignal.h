// The signal rendered when no input file is given: two bars of drum-like hits
// at 120 beats per minute over a sustained chord, then the chord's release.
// Kick in the middle, snare to the left, hats to the right, and the chord's
// notes shared out differently between the channels, so a stereo effect shows.
#pragma once

#include "StereoSignal.h"

/// The demo at the given sample rate, peaking at kDemoPeak.
StereoSignal makeDemoSignal(int sampleRate);

inline constexpr double kDemoSeconds = 5.0;
inline constexpr float kDemoPeak = 0.8f;
