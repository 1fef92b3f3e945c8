// What keeps a non-finite sample from living on in a processor's state: the
// feedback paths would re-inject it forever. Every finite value passes
// unchanged, so finite signals are processed exactly as without the guard.
#pragma once

#include <cmath>

/// value itself when finite, otherwise 0.
inline float finiteOrZero(float value) { return std::isfinite(value) ? value : 0.0f; }
