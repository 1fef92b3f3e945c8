#include "EffectBase.h"

#include <cstring>

namespace {

std::intptr_t VT_CALLBACK dispatcherEntry(AEffect* record, std::int32_t opcode, std::int32_t index,
                                          std::intptr_t value, void* ptr, float opt) {
    EffectBase* effect = EffectBase::fromRecord(record);
    try {
        if (opcode == effClose) {
            effect->dispatcher(opcode, index, value, ptr, opt);
            delete effect;
            return 1;
        }
        return effect->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        // Nothing may unwind into the host.
        return 0;
    }
}

void VT_CALLBACK processEntry(AEffect* record, float** inputs, float** outputs, std::int32_t sampleFrames) {
    EffectBase::fromRecord(record)->process(inputs, outputs, sampleFrames);
}

void VT_CALLBACK setParameterEntry(AEffect* record, std::int32_t index, float value) {
    EffectBase::fromRecord(record)->setParameter(index, value);
}

float VT_CALLBACK getParameterEntry(AEffect* record, std::int32_t index) {
    return EffectBase::fromRecord(record)->getParameter(index);
}

void VT_CALLBACK processReplacingEntry(AEffect* record, float** inputs, float** outputs, std::int32_t sampleFrames) {
    EffectBase::fromRecord(record)->processReplacing(inputs, outputs, sampleFrames);
}

void VT_CALLBACK processDoubleReplacingEntry(AEffect* record, double** inputs, double** outputs,
                                             std::int32_t sampleFrames) {
    EffectBase::fromRecord(record)->processDoubleReplacing(inputs, outputs, sampleFrames);
}

// Opcodes whose ptr the operation reads or writes: a null ptr is refused with 0
// before any operation sees it.
bool needsPointer(std::int32_t opcode) {
    switch (opcode) {
        case effSetProgramName:
        case effGetProgramName:
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName:
        case effEditGetRect:
        case effEditOpen:
        case effGetChunk:
        case effSetChunk:
            return true;
        default:
            return false;
    }
}

}  // namespace

EffectBase::EffectBase(HostCallback callback, std::int32_t programCount, std::int32_t parameterCount)
    : hostCallback(callback), numPrograms(programCount), numParams(parameterCount) {
    std::memset(&effectRecord, 0, sizeof effectRecord);
    effectRecord.magic = kEffectMagic;
    effectRecord.dispatcher = dispatcherEntry;
    effectRecord.process = processEntry;
    effectRecord.setParameter = setParameterEntry;
    effectRecord.getParameter = getParameterEntry;
    effectRecord.numPrograms = programCount;
    effectRecord.numParams = parameterCount;
    effectRecord.numInputs = 1;
    effectRecord.numOutputs = 2;
    effectRecord.flags = effFlagsCanReplacing;
    effectRecord.ioRatio = 1.0f;
    effectRecord.object = this;
    effectRecord.uniqueID = kDefaultUniqueId;
    effectRecord.version = 1;
    effectRecord.processReplacing = processReplacingEntry;
    effectRecord.processDoubleReplacing = processDoubleReplacingEntry;
}

EffectBase::~EffectBase() { delete editor; }

std::intptr_t EffectBase::dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                     float opt) {
    if (needsPointer(opcode) && ptr == nullptr) return 0;
    switch (opcode) {
        case effOpen:
            open();
            return 0;
        case effClose:
            close();
            return 0;
        case effSetProgram:
            if (value >= 0 && value < numPrograms) setProgram(static_cast<std::int32_t>(value));
            return 0;
        case effGetProgram:
            return getProgram();
        case effSetProgramName:
            setProgramName(static_cast<char*>(ptr));
            return 0;
        case effGetProgramName:
            getProgramName(static_cast<char*>(ptr));
            return 0;
        case effGetParamLabel:
            getParameterLabel(index, static_cast<char*>(ptr));
            return 0;
        case effGetParamDisplay:
            getParameterDisplay(index, static_cast<char*>(ptr));
            return 0;
        case effGetParamName:
            getParameterName(index, static_cast<char*>(ptr));
            return 0;
        case effSetSampleRate:
            setSampleRate(opt);
            return 0;
        case effSetBlockSize:
            setBlockSize(static_cast<std::int32_t>(value));
            return 0;
        case effMainsChanged:
            if (value != 0)
                resume();
            else
                suspend();
            return 0;
        case effEditGetRect:
            return editor != nullptr && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
        case effEditOpen:
            return editor != nullptr && editor->open(ptr) ? 1 : 0;
        case effEditClose:
            if (editor != nullptr) editor->close();
            return 0;
        case effEditIdle:
            if (editor != nullptr) editor->idle();
            return 0;
        case effIdentify:
            return kIdentifyAnswer;
        case effGetChunk:
            return getChunk(static_cast<void**>(ptr), index != 0);
        case effSetChunk:
            return setChunk(ptr, static_cast<std::int32_t>(value), index != 0);
        default:
            return 0;
    }
}

void EffectBase::setParameterAutomated(std::int32_t index, float value) {
    setParameter(index, value);
    if (hostCallback != nullptr) hostCallback(&effectRecord, audioMasterAutomate, index, 0, nullptr, value);
}

void EffectBase::setEditor(EditorBase* e) {
    editor = e;
    setFlag(effFlagsHasEditor, e != nullptr);
}

void EffectBase::setFlag(std::int32_t flag, bool state) {
    if (state)
        effectRecord.flags |= flag;
    else
        effectRecord.flags &= ~flag;
}

std::intptr_t EffectBase::callHost(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                   float opt) {
    if (hostCallback == nullptr) return 0;
    return hostCallback(&effectRecord, opcode, index, value, ptr, opt);
}
