// Each host request the frame offers, wrapped into one operation. Without a host
// callback callHost answers 0, which every conversion below turns into the
// operation's default.
#include "ExtendedEffect.h"

std::int32_t EffectBase::getHostVersion() {
    const auto answer = static_cast<std::int32_t>(callHost(audioMasterVersion));
    return answer == 0 ? 1 : answer;
}

std::int32_t EffectBase::getCurrentId() { return static_cast<std::int32_t>(callHost(audioMasterCurrentId)); }

void EffectBase::hostIdle() { callHost(audioMasterIdle); }

bool EffectBase::isInputConnected(std::int32_t input) { return callHost(audioMasterPinConnected, input, 0) == 0; }

bool EffectBase::isOutputConnected(std::int32_t output) {
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

bool ExtendedEffect::beginEdit(std::int32_t index) { return callHost(audioMasterBeginEdit, index) != 0; }

bool ExtendedEffect::endEdit(std::int32_t index) { return callHost(audioMasterEndEdit, index) != 0; }

bool ExtendedEffect::ioChanged() { return callHost(audioMasterIOChanged) != 0; }

float ExtendedEffect::updateSampleRate() {
    const std::intptr_t answer = callHost(audioMasterGetSampleRate);
    if (answer > 0) sampleRate = static_cast<float>(answer);
    return sampleRate;
}

std::int32_t ExtendedEffect::updateBlockSize() {
    const std::intptr_t answer = callHost(audioMasterGetBlockSize);
    if (answer > 0) blockSize = static_cast<std::int32_t>(answer);
    return blockSize;
}

std::int32_t ExtendedEffect::getInputLatency() { return static_cast<std::int32_t>(callHost(audioMasterGetInputLatency)); }

std::int32_t ExtendedEffect::getOutputLatency() {
    return static_cast<std::int32_t>(callHost(audioMasterGetOutputLatency));
}

VstTimeInfo* ExtendedEffect::getTimeInfo(std::int32_t filter) {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

std::int32_t ExtendedEffect::getCurrentProcessLevel() {
    return static_cast<std::int32_t>(callHost(audioMasterGetCurrentProcessLevel));
}

std::int32_t ExtendedEffect::getAutomationState() {
    return static_cast<std::int32_t>(callHost(audioMasterGetAutomationState));
}

bool ExtendedEffect::getHostVendorString(char* text) { return callHost(audioMasterGetVendorString, 0, 0, text) != 0; }

bool ExtendedEffect::getHostProductString(char* text) {
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

std::int32_t ExtendedEffect::getHostVendorVersion() {
    return static_cast<std::int32_t>(callHost(audioMasterGetVendorVersion));
}

std::intptr_t ExtendedEffect::hostVendorSpecific(std::int32_t a, std::intptr_t b, void* p, float f) {
    return callHost(audioMasterVendorSpecific, a, b, p, f);
}

std::int32_t ExtendedEffect::canHostDo(char* text) { return callHost(audioMasterCanDo, 0, 0, text) != 0 ? 1 : 0; }

std::int32_t ExtendedEffect::getHostLanguage() { return static_cast<std::int32_t>(callHost(audioMasterGetLanguage)); }

void* ExtendedEffect::getDirectory() { return reinterpret_cast<void*>(callHost(audioMasterGetDirectory)); }

bool ExtendedEffect::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

bool ExtendedEffect::sizeWindow(std::int32_t width, std::int32_t height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

bool ExtendedEffect::openFileSelector(void* selector) {
    if (selector == nullptr) return false;
    return callHost(audioMasterOpenFileSelector, 0, 0, selector) != 0;
}

bool ExtendedEffect::closeFileSelector(void* selector) {
    if (selector == nullptr) return false;
    return callHost(audioMasterCloseFileSelector, 0, 0, selector) != 0;
}

bool ExtendedEffect::offlineRead(void* task, std::int32_t option, bool readSource) {
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task) != 0;
}

bool ExtendedEffect::offlineWrite(void* task, std::int32_t option) {
    return callHost(audioMasterOfflineWrite, 0, option, task) != 0;
}

bool ExtendedEffect::offlineStart(void* files, std::int32_t numFiles, std::int32_t numNewFiles) {
    return callHost(audioMasterOfflineStart, numNewFiles, numFiles, files) != 0;
}

std::int32_t ExtendedEffect::offlineGetCurrentPass() { return callHost(audioMasterOfflineGetCurrentPass) != 0 ? 1 : 0; }

std::int32_t ExtendedEffect::offlineGetCurrentMetaPass() {
    return callHost(audioMasterOfflineGetCurrentMetaPass) != 0 ? 1 : 0;
}

void ExtendedEffect::wantMidi(std::int32_t filter) { callHost(audioMasterWantMidi, 0, filter); }

std::int32_t ExtendedEffect::tempoAt(std::int32_t position) {
    return static_cast<std::int32_t>(callHost(audioMasterTempoAt, 0, position));
}

std::int32_t ExtendedEffect::getNumAutomatableParameters() {
    return static_cast<std::int32_t>(callHost(audioMasterGetNumAutomatableParameters));
}

std::int32_t ExtendedEffect::getParameterQuantization() {
    return static_cast<std::int32_t>(callHost(audioMasterGetParameterQuantization));
}

bool ExtendedEffect::needIdle() { return callHost(audioMasterNeedIdle) != 0; }

// The host is not told which pin: the interface passes no argument here.
AEffect* ExtendedEffect::getPreviousPlug(std::int32_t /*input*/) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* ExtendedEffect::getNextPlug(std::int32_t /*output*/) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}

std::int32_t ExtendedEffect::willReplaceOrAccumulate() {
    return static_cast<std::int32_t>(callHost(audioMasterWillReplaceOrAccumulate));
}

void ExtendedEffect::setOutputSampleRate(float rate) { callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate); }

VstSpeakerArrangement* ExtendedEffect::getInputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetInputSpeakerArrangement));
}

VstSpeakerArrangement* ExtendedEffect::getOutputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetOutputSpeakerArrangement));
}

void* ExtendedEffect::openWindow(void* window) {
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool ExtendedEffect::closeWindow(void* window) { return callHost(audioMasterCloseWindow, 0, 0, window) != 0; }

bool ExtendedEffect::getChunkFile(void* nativePath) {
    if (nativePath == nullptr) return false;
    return callHost(audioMasterGetChunkFile, 0, 0, nativePath) != 0;
}
