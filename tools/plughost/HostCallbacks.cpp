#include "HostCallbacks.h"

#include "InterfaceNames.h"

#include <atomic>
#include <cinttypes>

namespace {

// The interface version this host speaks.
constexpr std::intptr_t kHostVersion = 2400;

std::atomic<HostCallbacks*> activeHost{nullptr};

}  // namespace

HostCallbacks::HostCallbacks(Transport& t, std::FILE* traceFile) : transport(t), trace(traceFile) {
    activeHost.store(this);
}

HostCallbacks::~HostCallbacks() {
    HostCallbacks* self = this;
    activeHost.compare_exchange_strong(self, nullptr);
}

HostCallback HostCallbacks::callback() { return &HostCallbacks::dispatch; }

std::intptr_t VT_CALLBACK HostCallbacks::dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                                  std::intptr_t value, void* ptr, float opt) {
    HostCallbacks* host = activeHost.load();
    if (host == nullptr) return 0;
    const std::intptr_t result = host->answer(effect, opcode, index, value, ptr, opt);
    if (host->trace != nullptr)
        std::fprintf(host->trace, "callback %s index %" PRId32 " value %" PRIdPTR " ptr %p opt %g -> %" PRIdPTR "\n",
                     hostOpcodeName(opcode).c_str(), index, value, ptr, static_cast<double>(opt), result);
    return result;
}

std::intptr_t HostCallbacks::answer(AEffect* /*effect*/, std::int32_t opcode, std::int32_t /*index*/,
                                    std::intptr_t /*value*/, void* /*ptr*/, float /*opt*/) {
    switch (opcode) {
        case audioMasterVersion:
            return kHostVersion;
        case audioMasterGetTime:
            return reinterpret_cast<std::intptr_t>(transport.timeInfo());
        case audioMasterAutomate:
            // Nothing records automation here; the change is taken note of.
            ++automations;
            return 1;
        case audioMasterUpdateDisplay:
            // Texts are read fresh whenever they are shown, so there is nothing to refresh.
            return 1;
        case audioMasterIdle:
            // No editor is open and nothing waits for idle time.
            return 1;
        case audioMasterCurrentId:
            // The identifier of the effect being created; none while the entry point runs.
            return served != nullptr ? served->uniqueID : 0;
        case audioMasterGetSampleRate:
            return static_cast<std::intptr_t>(transport.current().sampleRate);
        case audioMasterGetBlockSize:
            return blockSize;
        default:
            return 0;
    }
}
