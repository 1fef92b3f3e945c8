// A host callback that records every call a plug-in makes and answers from a
// table the test sets. One host is active at a time (the callback is a plain
// function pointer, so it reaches the host through a process-wide pointer).
#pragma once

#include "HostInterface.h"

#include <cstdint>
#include <map>
#include <vector>

struct HostCall {
    AEffect* effect;
    std::int32_t opcode;
    std::int32_t index;
    std::intptr_t value;
    void* ptr;
    float opt;
};

class FakeHost {
public:
    FakeHost() { current() = this; }
    ~FakeHost() {
        if (current() == this) current() = nullptr;
    }
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    /// The callback to hand to an entry point or effect constructor.
    static HostCallback callback() { return &FakeHost::dispatch; }

    /// What the host answers to an opcode; 0 for any opcode not set.
    void answer(std::int32_t opcode, std::intptr_t value) { answers[opcode] = value; }

    /// Calls received with the given opcode, in order.
    std::vector<HostCall> callsOf(std::int32_t opcode) const {
        std::vector<HostCall> found;
        for (const HostCall& call : calls)
            if (call.opcode == opcode) found.push_back(call);
        return found;
    }

    std::vector<HostCall> calls;
    std::map<std::int32_t, std::intptr_t> answers{{audioMasterVersion, 2400}};

private:
    static FakeHost*& current() {
        static FakeHost* host = nullptr;
        return host;
    }

    static std::intptr_t VT_CALLBACK dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                              std::intptr_t value, void* ptr, float opt) {
        FakeHost* host = current();
        if (host == nullptr) return 0;
        host->calls.push_back({effect, opcode, index, value, ptr, opt});
        const auto found = host->answers.find(opcode);
        return found == host->answers.end() ? 0 : found->second;
    }
};
