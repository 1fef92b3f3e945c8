#include "SwirlEffect.h"

#include "PanelEditor.h"
#include "SwirlEditor.h"
#include "SwirlIdentity.h"
#include "TempoSync.h"
#include "TextCopy.h"

#include <atomic>
#include <cstring>
#include <new>

namespace {

/// The effect runs on without a panel when there is no memory for one.
EditorBase* createPanel(EffectBase* effect) {
    try {
        return new SwirlEditor(effect);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

SwirlEffect::SwirlEffect(HostCallback hostCallback)
    : ExtendedEffect(hostCallback, swirl::programCount, swirl::parameterCount) {
    setNumInputs(swirl::inputCount);
    setNumOutputs(swirl::outputCount);
    setUniqueId(swirl::uniqueId);
    setCanReplacing(true);
    setProgramChunks(true);
    flanger = std::make_unique<StepFlanger>();
    phaser = std::make_unique<StepPhaser>();
    std::atomic_ref<std::int32_t>(curProgram).store(0);
    bank = std::make_unique<ProgramBank>(numPrograms, numParams);
    setEditor(createPanel(this));
    reloadPanel();
}

SwirlEffect::~SwirlEffect() {
    bank.reset();
    flanger.reset();
    phaser.reset();
}

ProgramRecord& SwirlEffect::currentRecord() {
    return bank->records[std::atomic_ref<std::int32_t>(curProgram).load(std::memory_order_relaxed)];
}

void SwirlEffect::setSampleRate(float rate) {
    // processReplacing reads the rate on the audio thread.
    std::atomic_ref<float>(sampleRate).store(rate, std::memory_order_relaxed);
    phaser->setSampleRate(rate);
    flanger->setSampleRate(rate);
}

void SwirlEffect::processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) {
    if (sampleFrames < 0 || inputs == nullptr || outputs == nullptr) return;
    if (inputs[0] == nullptr || inputs[1] == nullptr || outputs[0] == nullptr || outputs[1] == nullptr) return;
    float* const params = currentRecord().params;
    float* const left = outputs[0];
    float* const right = outputs[1];
    // memmove: a host may pass the same buffer as input and output.
    const auto bytes = static_cast<std::size_t>(sampleFrames) * sizeof(float);
    std::memmove(left, inputs[0], bytes);
    std::memmove(right, inputs[1], bytes);

    const TempoSync sync = tempoSyncFrom(
        getTimeInfo(kVstTempoValid), std::atomic_ref<float>(sampleRate).load(std::memory_order_relaxed));

    const float flangerLevel = loadParameter(params[swirl::flangerLevel]);
    if (flangerLevel > 0.0f) {
        flanger->process(sampleFrames, left, right, loadParameter(params[swirl::flangerTrans]),
                         loadParameter(params[swirl::flangerFeedback]), flangerLevel,
                         loadParameter(params[swirl::flangerDepth]), loadParameter(params[swirl::flangerTime]),
                         sync.samplesPerSixteenth, sync.position);
    }
    const float phaserLevel = loadParameter(params[swirl::phaserLevel]);
    if (phaserLevel > 0.0f) {
        phaser->process(sampleFrames, left, right, phaserLevel, loadParameter(params[swirl::phaserDepth]),
                        loadParameter(params[swirl::phaserTime]), sync.samplesPerSixteenth, sync.position,
                        swirl::phaserFeedbackFactor);
    }
}

void SwirlEffect::setParameter(std::int32_t index, float value) {
    if (!isParameter(index)) return;
    float& stored = currentRecord().params[index];
    if (loadParameter(stored) == value) return;
    storeParameter(stored, value);
    showParameter(index, value);
}

float SwirlEffect::getParameter(std::int32_t index) {
    if (!isParameter(index)) return 0.0f;
    return loadParameter(currentRecord().params[index]);
}

std::int32_t SwirlEffect::getProgram() { return std::atomic_ref<std::int32_t>(curProgram).load(); }

void SwirlEffect::setProgram(std::int32_t program) {
    // The audio thread indexes the bank with it, so it never leaves the bank.
    if (!isProgram(program)) return;
    std::atomic_ref<std::int32_t>(curProgram).store(program);
    showProgram();
}

void SwirlEffect::setProgramName(char* name) {
    char* field = currentRecord().name;
    std::memset(field, 0, swirl::programNameLength);
    for (std::int32_t i = 0; i < swirl::programNameLength && name[i] != 0; ++i) field[i] = name[i];
}

void SwirlEffect::getProgramName(char* name) { copyBounded(name, currentRecord().name, swirl::programNameLength); }

void SwirlEffect::getParameterLabel(std::int32_t /*index*/, char* label) {
    copyBounded(label, swirl::parameterLabel, swirl::parameterTextLength);
}

void SwirlEffect::getParameterDisplay(std::int32_t /*index*/, char* text) {
    copyBounded(text, swirl::parameterDisplay, swirl::parameterTextLength);
}

void SwirlEffect::getParameterName(std::int32_t index, char* text) {
    if (!isParameter(index)) return;
    copyBounded(text, swirl::parameterNames[index], swirl::parameterTextLength);
}

std::int32_t SwirlEffect::getChunk(void** data, bool isPreset) {
    if (data == nullptr) return 0;
    if (isPreset) {
        *data = currentRecord().params;
        return bank->programChunkSize();
    }
    *data = bank->records.get();
    return bank->bankChunkSize();
}

std::int32_t SwirlEffect::setChunk(void* data, std::int32_t byteSize, bool isPreset) {
    if (data == nullptr) return 0;
    if (isPreset && byteSize == bank->programChunkSize()) {
        bank->loadProgram(getProgram(), data);
    } else if (byteSize == bank->bankChunkSize()) {
        bank->loadBank(data);
    } else {
        updateDisplay();
        return 0;
    }
    reloadPanel();
    return byteSize;
}

bool SwirlEffect::canParameterBeAutomated(std::int32_t /*index*/) { return true; }

bool SwirlEffect::getProgramNameIndexed(std::int32_t /*category*/, std::int32_t index, char* text) {
    if (!isProgram(index)) return false;
    copyBounded(text, bank->records[index].name, swirl::programNameLength);
    return true;
}

bool SwirlEffect::getEffectName(char* text) {
    copyBounded(text, swirl::effectName, swirl::effectNameLength);
    return true;
}

bool SwirlEffect::getVendorString(char* text) {
    copyBounded(text, swirl::vendorString, swirl::vendorTextLength);
    return true;
}

bool SwirlEffect::getProductString(char* text) {
    copyBounded(text, swirl::productString, swirl::vendorTextLength);
    return true;
}

std::int32_t SwirlEffect::getVendorVersion() { return swirl::vendorVersion; }

std::int32_t SwirlEffect::canDo(char* text) {
    if (text == nullptr) return -1;
    for (const swirl::CanDoAnswer& entry : swirl::canDoAnswers)
        if (std::strcmp(text, entry.text) == 0) return entry.answer;
    return -1;
}

PanelEditor* SwirlEffect::panel() {
    // Any editor may be attached; only a panel has knobs to tell.
    return dynamic_cast<PanelEditor*>(getEditor());
}

void SwirlEffect::showParameter(std::int32_t index, float value) {
    PanelEditor* const editor = panel();
    if (editor == nullptr) return;
    editor->updateControls(index, value);
    editor->redrawDirty();
}

void SwirlEffect::showProgram() {
    PanelEditor* const editor = panel();
    if (editor == nullptr) return;
    editor->reloadControls();
    editor->redrawDirty();
}

void SwirlEffect::reloadPanel() {
    PanelEditor* const editor = panel();
    if (editor == nullptr) return;
    editor->reloadControls();
}
