#include "Effect.h"

#include "HostError.h"

#include <cstdio>
#include <vector>

namespace {

// Plug-ins are asked for texts of 8 to 64 characters, and some write more;
// the buffer is far larger, and only what lies before its last byte is read.
constexpr std::size_t kTextBufferSize = 512;

}  // namespace

Effect::Effect(AEffect* record, const std::string& source) : effect(record), sourceName(source) {
    if (effect->magic != kEffectMagic) {
        char found[16];
        std::snprintf(found, sizeof found, "0x%08X", static_cast<unsigned>(effect->magic));
        effect = nullptr;  // not a record of this interface: nothing may be called through it
        throw HostError(ExitCode::notAPlugin,
                        source + ": the effect record has magic " + found + " instead of 0x56737450");
    }
}

Effect::~Effect() { close(); }

std::intptr_t Effect::dispatch(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr, float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string Effect::text(std::int32_t opcode, std::int32_t index) {
    std::vector<char> buffer(kTextBufferSize, 0);
    dispatch(opcode, index, 0, buffer.data());
    buffer.back() = 0;
    return buffer.data();
}

float Effect::getParameter(std::int32_t index) { return effect->getParameter(effect, index); }

void Effect::setParameter(std::int32_t index, float value) { effect->setParameter(effect, index, value); }

void Effect::processReplacing(float** inputs, float** outputs, std::int32_t frames) {
    effect->processReplacing(effect, inputs, outputs, frames);
}

void Effect::close() {
    if (effect == nullptr) return;
    AEffect* closing = effect;
    effect = nullptr;
    closing->dispatcher(closing, effClose, 0, 0, nullptr, 0.0f);
}
