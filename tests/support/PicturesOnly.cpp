// A library that carries nothing but the pictures its resource script names.
#include "PluginEntry.h"

EffectBase* createEffect(HostCallback) { return nullptr; }
