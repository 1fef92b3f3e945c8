// What the plug-in hears back when it calls its host. One host serves the one
// effect of the process: the callback is a plain function, so it reaches the
// host through a process-wide pointer.
#pragma once

#include "HostInterface.h"
#include "Transport.h"

#include <cstdint>
#include <cstdio>

class HostCallbacks {
public:
    /// The host answers time requests from the transport. With a trace file
    /// every call is printed to it, one line each.
    explicit HostCallbacks(Transport& transport, std::FILE* trace = nullptr);
    ~HostCallbacks();

    HostCallbacks(const HostCallbacks&) = delete;
    HostCallbacks& operator=(const HostCallbacks&) = delete;

    /// The function to hand to the entry point.
    static HostCallback callback();

    /// The effect the host is serving, once the entry point has answered it.
    void attach(AEffect* effect) { served = effect; }
    void setBlockSize(std::int32_t frames) { blockSize = frames; }

    /// How many parameter changes the plug-in reported as automation.
    int automationReports() const { return automations; }

private:
    static std::intptr_t VT_CALLBACK dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                              std::intptr_t value, void* ptr, float opt);
    std::intptr_t answer(AEffect* effect, std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                         float opt);

    Transport& transport;
    std::FILE* trace;
    AEffect* served = nullptr;
    std::int32_t blockSize = 0;
    int automations = 0;
};
