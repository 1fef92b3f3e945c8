#include "ExtendedEffect.h"

#include "TextCopy.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

std::intptr_t oneOrZero(bool answer) { return answer ? 1 : 0; }

// Speakers follow the arrangement's header in one block of any length.
VstSpeakerProperties* speakerAt(VstSpeakerArrangement* arrangement, std::int32_t i) {
    return reinterpret_cast<VstSpeakerProperties*>(reinterpret_cast<char*>(arrangement) +
                                                   offsetof(VstSpeakerArrangement, speakers)) +
           i;
}

// Out-of-range and NaN options would make the conversion to an integer undefined.
std::int32_t truncatedLowByte(float opt) {
    if (!(opt >= -2147483648.0f && opt < 2147483648.0f)) return 0;
    return static_cast<std::int32_t>(opt) & 0xFF;
}

// Opcodes whose ptr (and for 42 and 69 also value) the operation reads or
// writes: a null pointer is refused with 0 before any operation sees it.
bool refusesNullPointer(std::int32_t opcode, std::intptr_t value, void* ptr) {
    switch (opcode) {
        case effSetSpeakerArrangement:
        case effGetSpeakerArrangement:
            return ptr == nullptr || value == 0;
        case effProcessEvents:
        case effString2Parameter:
        case effGetProgramNameIndexed:
        case effGetInputProperties:
        case effGetOutputProperties:
        case effOfflineNotify:
        case effOfflinePrepare:
        case effOfflineRun:
        case effProcessVarIo:
        case effGetEffectName:
        case effGetVendorString:
        case effGetProductString:
        case effCanDo:
        case effGetParameterProperties:
        case effGetMidiProgramName:
        case effGetCurrentMidiProgram:
        case effGetMidiProgramCategory:
        case effGetMidiKeyName:
        case effShellGetNextPlugin:
        case effBeginLoadBank:
        case effBeginLoadProgram:
            return ptr == nullptr;
        default:
            return false;
    }
}

}  // namespace

std::intptr_t ExtendedEffect::dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                         float opt) {
    if (opcode < effProcessEvents || opcode > effGetNumMidiOutputChannels)
        return EffectBase::dispatcher(opcode, index, value, ptr, opt);
    if (refusesNullPointer(opcode, value, ptr)) return 0;
    char* text = static_cast<char*>(ptr);
    const auto count = static_cast<std::int32_t>(value);
    switch (opcode) {
        case effProcessEvents:
            return processEvents(static_cast<VstEvents*>(ptr));
        case effCanBeAutomated:
            return oneOrZero(canParameterBeAutomated(index));
        case effString2Parameter:
            return oneOrZero(stringToParameter(index, text));
        case effGetProgramNameIndexed:
            return oneOrZero(getProgramNameIndexed(count, index, text));
        case effGetInputProperties:
            return oneOrZero(getInputProperties(index, ptr));
        case effGetOutputProperties:
            return oneOrZero(getOutputProperties(index, ptr));
        case effGetPlugCategory:
            return getPlugCategory();
        case effOfflineNotify:
            return oneOrZero(offlineNotify(ptr, count, index != 0));
        case effOfflinePrepare:
            return oneOrZero(offlinePrepare(ptr, count));
        case effOfflineRun:
            return oneOrZero(offlineRun(ptr, count));
        case effProcessVarIo:
            return oneOrZero(processVariableIo(ptr));
        case effSetSpeakerArrangement:
            return oneOrZero(setSpeakerArrangement(reinterpret_cast<void*>(value), ptr));
        case effSetBypass:
            return oneOrZero(setBypass(value != 0));
        case effGetEffectName:
            return oneOrZero(getEffectName(text));
        case effGetVendorString:
            return oneOrZero(getVendorString(text));
        case effGetProductString:
            return oneOrZero(getProductString(text));
        case effGetVendorVersion:
            return getVendorVersion();
        case effVendorSpecific:
            return vendorSpecific(index, value, ptr, opt);
        case effCanDo:
            return canDo(text);
        case effGetTailSize:
            return getTailSize();
        case effGetParameterProperties:
            return oneOrZero(getParameterProperties(index, ptr));
        case effGetVstVersion:
            return getVstVersion();
        case effEditKeyDown:
        case effEditKeyUp: {
            if (editor == nullptr) return 0;
            VstKeyCode key{};
            key.character = index;
            key.virt = static_cast<std::uint8_t>(value & 0xFF);
            key.modifier = static_cast<std::uint8_t>(truncatedLowByte(opt));
            return oneOrZero(opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key));
        }
        case effSetEditKnobMode:
            return editor != nullptr ? oneOrZero(editor->setKnobMode(count)) : 0;
        case effGetMidiProgramName:
            return getMidiProgramName(index, ptr);
        case effGetCurrentMidiProgram:
            return getCurrentMidiProgram(index, ptr);
        case effGetMidiProgramCategory:
            return getMidiProgramCategory(index, ptr);
        case effHasMidiProgramsChanged:
            return oneOrZero(hasMidiProgramsChanged(index));
        case effGetMidiKeyName:
            return oneOrZero(getMidiKeyName(index, ptr));
        case effBeginSetProgram:
            return oneOrZero(beginSetProgram());
        case effEndSetProgram:
            return oneOrZero(endSetProgram());
        case effGetSpeakerArrangement:
            return oneOrZero(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                                   static_cast<VstSpeakerArrangement**>(ptr)));
        case effShellGetNextPlugin:
            return shellGetNextPlugin(text);
        case effStartProcess:
            return startProcess();
        case effStopProcess:
            return stopProcess();
        case effSetTotalSampleToProcess:
            return setTotalSampleToProcess(count);
        case effSetPanLaw:
            return oneOrZero(setPanLaw(count, opt));
        case effBeginLoadBank:
            return beginLoadBank(ptr);
        case effBeginLoadProgram:
            return beginLoadProgram(ptr);
        case effSetProcessPrecision:
            return oneOrZero(setProcessPrecision(count));
        case effGetNumMidiInputChannels:
            return getNumMidiInputChannels();
        case effGetNumMidiOutputChannels:
            return getNumMidiOutputChannels();
        default:
            return EffectBase::dispatcher(opcode, index, value, ptr, opt);
    }
}

bool ExtendedEffect::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
    *input = nullptr;
    *output = nullptr;
    return false;
}

std::int32_t ExtendedEffect::getPlugCategory() {
    return (effectRecord.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

bool ExtendedEffect::allocateArrangement(VstSpeakerArrangement** arrangement, std::int32_t channels) {
    if (arrangement == nullptr) return false;
    if (*arrangement != nullptr) {
        std::free(*arrangement);
        *arrangement = nullptr;
    }
    if (channels < 0 || static_cast<std::size_t>(channels) > (SIZE_MAX - 8) / sizeof(VstSpeakerProperties))
        return false;
    const std::size_t size = 8 + sizeof(VstSpeakerProperties) * static_cast<std::size_t>(channels);
    void* block = std::calloc(1, size);
    if (block == nullptr) return false;
    *arrangement = static_cast<VstSpeakerArrangement*>(block);
    (*arrangement)->numChannels = channels;
    return true;
}

bool ExtendedEffect::deallocateArrangement(VstSpeakerArrangement** arrangement) {
    if (arrangement != nullptr && *arrangement != nullptr) {
        std::free(*arrangement);
        *arrangement = nullptr;
    }
    return true;
}

bool ExtendedEffect::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
    if (to == nullptr || from == nullptr) return false;
    copyBounded(to->name, from->name, 63);
    to->type = from->type;
    std::memcpy(&to->azimuth, &from->azimuth, sizeof to->azimuth);
    std::memcpy(&to->elevation, &from->elevation, sizeof to->elevation);
    std::memcpy(&to->radius, &from->radius, sizeof to->radius);
    std::memcpy(&to->reserved, &from->reserved, sizeof to->reserved);
    std::memcpy(to->future, from->future, sizeof to->future);
    return true;
}

bool ExtendedEffect::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
    if (from == nullptr) return false;
    // Releasing the target first would free the source it is to be copied from.
    if (to != nullptr && *to == from) return true;
    if (!deallocateArrangement(to)) return false;
    if (!allocateArrangement(to, from->numChannels)) return false;
    (*to)->type = from->type;
    for (std::int32_t i = 0; i < from->numChannels; ++i)
        if (!copySpeaker(speakerAt(*to, i), speakerAt(from, i))) return false;
    return true;
}
