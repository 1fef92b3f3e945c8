// The smallest plug-in library: an effect that keeps every frame default.
#include "ExtendedEffect.h"
#include "FrameTestPlugin.h"
#include "ModuleInstance.h"
#include "PluginEntry.h"

#include <new>

namespace {

class SmallEffect : public ExtendedEffect {
public:
    explicit SmallEffect(HostCallback hostCallback) : ExtendedEffect(hostCallback, 1, 1) {
        setUniqueId(kTestPluginId);
        setNumInputs(2);
    }
    void processReplacing(float**, float**, std::int32_t) override {}
};

}  // namespace

EffectBase* createEffect(HostCallback hostCallback) {
    if (hostCallback(nullptr, audioMasterVendorSpecific, kCreationNotice, 0, moduleInstance, 0.0f) != 0)
        return nullptr;
    return new (std::nothrow) SmallEffect(hostCallback);
}
