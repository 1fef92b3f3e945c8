// What each plug-in library supplies to the frame's entry point.
#pragma once

#include "HostInterface.h"

class EffectBase;

/// Constructs the library's effect, or answers null when it cannot be made.
EffectBase* createEffect(HostCallback hostCallback);
