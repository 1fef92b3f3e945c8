// The library's factory, called by the frame's entry point.
#include "PluginEntry.h"
#include "WardenEffect.h"

#include <new>

EffectBase* createEffect(HostCallback hostCallback) {
    try {
        return new WardenEffect(hostCallback);
    } catch (const std::bad_alloc&) {
        // No memory for the effect or for its core: there is no effect without both.
        return nullptr;
    }
}
