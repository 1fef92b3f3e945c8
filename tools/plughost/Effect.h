// The host's side of one effect record: the calls a host makes through it.
// The record belongs to the plug-in; the host only ever holds its address.
#pragma once

#include "HostInterface.h"

#include <cstdint>
#include <string>

class Effect {
public:
    /// Takes over a record answered by an entry point; throws HostError when
    /// it does not carry the interface's magic number.
    Effect(AEffect* record, const std::string& source);
    /// Closes the effect if that has not been done.
    ~Effect();

    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    std::intptr_t dispatch(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                           void* ptr = nullptr, float opt = 0.0f);
    /// A text the plug-in writes into a host buffer (names, labels, displays).
    std::string text(std::int32_t opcode, std::int32_t index = 0);

    float getParameter(std::int32_t index);
    void setParameter(std::int32_t index, float value);
    void processReplacing(float** inputs, float** outputs, std::int32_t frames);

    /// Sends effClose; the record is gone afterwards.
    void close();

    const AEffect& record() const { return *effect; }
    AEffect* address() const { return effect; }
    const std::string& source() const { return sourceName; }

private:
    AEffect* effect;
    std::string sourceName;
};
