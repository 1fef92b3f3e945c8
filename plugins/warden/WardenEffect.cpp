#include "WardenEffect.h"

#include "PanelEditor.h"
#include "TextCopy.h"
#include "WardenEditor.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

using namespace warden;

static_assert(std::endian::native == std::endian::little, "the chunk's floats are stored as the host reads them");
static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559, "chunk values are IEEE-754 singles");
static_assert(std::atomic_ref<float>::is_always_lock_free, "the audio thread must never wait on a parameter");

namespace {

/// The effect runs on without a panel when there is no memory for one.
EditorBase* createPanel(EffectBase* effect) {
    try {
        return new WardenEditor(effect);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

WardenEffect::WardenEffect(HostCallback callback) : ExtendedEffect(callback, kProgramCount, kParameterCount) {
    setNumInputs(kInputCount);
    setNumOutputs(kOutputCount);
    setProgramChunks(false);
    setCanReplacing(true);
    setUniqueId(kUniqueId);
    curProgram = 0;
    copyBounded(programName, kDefaultProgramName, kProgramNameLength);
    core = std::make_unique<CompressorCore>();
    for (std::int32_t i = 0; i < kParameterCount; ++i) storeParameter(i, kParameters[i].defaultValue);
    // The audio follows the values a host reads back even before it sets a
    // sample rate; the gain still starts at 0 and fades in.
    core->setSampleRate(sampleRate);
    applyParametersToCore();
    setEditor(createPanel(this));
    reloadPanel();
}

WardenEffect::~WardenEffect() = default;

float WardenEffect::loadParameter(std::int32_t index) {
    return std::atomic_ref<float>(params[index]).load(std::memory_order_relaxed);
}

void WardenEffect::storeParameter(std::int32_t index, float value) {
    std::atomic_ref<float>(params[index]).store(value, std::memory_order_relaxed);
}

void WardenEffect::applyParametersToCore() {
    core->setThreshold(loadParameter(kThreshold));
    core->setAttack(loadParameter(kAttack));
    core->setRelease(loadParameter(kRelease));
}

void WardenEffect::setSampleRate(float rate) {
    sampleRate = rate;
    core->setSampleRate(rate);
    applyParametersToCore();
}

void WardenEffect::processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) {
    const bool buffersPresent = inputs != nullptr && outputs != nullptr && inputs[0] != nullptr &&
                                inputs[1] != nullptr && outputs[0] != nullptr && outputs[1] != nullptr;
    float* left = nullptr;
    float* right = nullptr;
    std::int32_t frames = 0;
    if (buffersPresent && sampleFrames > 0) {
        left = outputs[0];
        right = outputs[1];
        frames = sampleFrames;
        const auto bytes = static_cast<std::size_t>(frames) * sizeof(float);
        // The host may hand the same buffer as input and output.
        std::memmove(left, inputs[0], bytes);
        std::memmove(right, inputs[1], bytes);
    }
    const float gain = core->process(frames, left, right);
    updateMeter(gain);
}

void WardenEffect::setParameter(std::int32_t index, float value) {
    if (!isParameter(index)) return;
    // An unchanged value costs neither a recompute nor a redraw; NaN never matches.
    if (value == loadParameter(index)) return;
    storeParameter(index, value);
    switch (index) {
        case kThreshold:
            core->setThreshold(value);
            break;
        case kAttack:
            core->setAttack(value);
            break;
        case kRelease:
            core->setRelease(value);
            break;
        default:
            // The meter value is shown, never heard.
            break;
    }
    pushToPanel(index, value);
    redrawPanel();
}

float WardenEffect::getParameter(std::int32_t index) { return isParameter(index) ? loadParameter(index) : 0.0f; }

void WardenEffect::setProgram(std::int32_t program) {
    curProgram = program;
    reloadPanel();
    redrawPanel();
}

void WardenEffect::setProgramName(char* name) { copyBounded(programName, name, kProgramNameLength); }

void WardenEffect::getProgramName(char* name) { copyBounded(name, programName, kProgramNameLength); }

void WardenEffect::getParameterLabel(std::int32_t /*index*/, char* label) {
    copyBounded(label, kParameterLabel, kParameterTextLength);
}

void WardenEffect::getParameterDisplay(std::int32_t /*index*/, char* text) {
    copyBounded(text, kParameterDisplay, kParameterTextLength);
}

void WardenEffect::getParameterName(std::int32_t index, char* text) {
    // A parameter without a name leaves the host's buffer as it was.
    if (!isParameter(index) || kParameters[index].name == nullptr) return;
    copyBounded(text, kParameters[index].name, kParameterTextLength);
}

std::int32_t WardenEffect::getChunk(void** data, bool /*isPreset*/) {
    *data = params;
    return kChunkSize;
}

std::int32_t WardenEffect::setChunk(void* data, std::int32_t byteSize, bool /*isPreset*/) {
    if (data == nullptr || byteSize <= 0) return 0;
    // Only whole values are taken: a partly copied float would be a value the
    // host never stored.
    const std::int32_t count = std::min(byteSize, kChunkSize) / static_cast<std::int32_t>(sizeof(float));
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::int32_t i = 0; i < count; ++i) {
        float value;
        std::memcpy(&value, bytes + i * sizeof(float), sizeof value);
        storeParameter(i, value);
    }
    applyParametersToCore();
    reloadPanel();
    return count * static_cast<std::int32_t>(sizeof(float));
}

bool WardenEffect::canParameterBeAutomated(std::int32_t /*index*/) { return true; }

bool WardenEffect::getProgramNameIndexed(std::int32_t /*category*/, std::int32_t /*index*/, char* text) {
    getProgramName(text);
    return true;
}

bool WardenEffect::getEffectName(char* text) {
    copyBounded(text, kEffectName, kEffectNameLength);
    return true;
}

bool WardenEffect::getVendorString(char* text) {
    copyBounded(text, kVendorString, kVendorTextLength);
    return true;
}

bool WardenEffect::getProductString(char* text) {
    copyBounded(text, kProductString, kVendorTextLength);
    return true;
}

std::int32_t WardenEffect::getVendorVersion() { return kVendorVersion; }

std::int32_t WardenEffect::canDo(char* text) {
    for (const CanDoAnswer& entry : kCanDoAnswers)
        if (std::strcmp(text, entry.text) == 0) return entry.answer;
    return kCanDoOther;
}

PanelEditor* WardenEffect::panel() {
    // Any editor may be attached; only a panel has controls to tell.
    return dynamic_cast<PanelEditor*>(editor);
}

void WardenEffect::pushToPanel(std::int32_t index, float value) {
    PanelEditor* const controls = panel();
    if (controls == nullptr) return;
    controls->updateControls(index, value);
}

void WardenEffect::reloadPanel() {
    PanelEditor* const controls = panel();
    if (controls == nullptr) return;
    controls->reloadControls();
}

void WardenEffect::redrawPanel() {
    // Off the window's thread, the audio call's included, this only asks the
    // window's thread to draw.
    PanelEditor* const controls = panel();
    if (controls == nullptr) return;
    controls->redrawDirty();
}

void WardenEffect::updateMeter(float gain) {
    if (editor == nullptr || !editor->isOpen()) return;
    // Tenths of gain in single precision: the meter moves only when the gain
    // crosses a tenth, which keeps drawing out of most audio blocks.
    const float shown = std::trunc(gain * 10.0f);
    const float stored = std::trunc(loadParameter(kMeter) * 10.0f);
    if (shown == stored) return;
    storeParameter(kMeter, gain);
    // The meter's LEDs take the gain, as from every other path, and show
    // the reduction themselves.
    pushToPanel(kMeter, gain);
    redrawPanel();
}
