// The library's factory, called by the frame's entry point.
#include "PluginEntry.h"
#include "SwirlEffect.h"

#include <new>

EffectBase* createEffect(HostCallback hostCallback) {
    try {
        return new SwirlEffect(hostCallback);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
