// The spine of every effect: the record handed to the host, the static entries
// stored in it, the dispatcher for opcodes 0 to 24 and the operations a plug-in
// class overrides. The order of the virtual operations is part of the design.
#pragma once

#include "EditorBase.h"
#include "HostInterface.h"

#include <cstdint>

class EffectBase {
public:
    EffectBase(HostCallback callback, std::int32_t programCount, std::int32_t parameterCount);
    virtual ~EffectBase();

    EffectBase(const EffectBase&) = delete;
    EffectBase& operator=(const EffectBase&) = delete;

    virtual std::intptr_t dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                     float opt);
    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate(float rate) { sampleRate = rate; }
    virtual void setBlockSize(std::int32_t size) { blockSize = size; }
    virtual void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) = 0;
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/, std::int32_t /*sampleFrames*/) {}
    virtual void setParameter(std::int32_t /*index*/, float /*value*/) {}
    virtual float getParameter(std::int32_t /*index*/) { return 0.0f; }
    /// Stores the value, then tells the host the user changed it.
    virtual void setParameterAutomated(std::int32_t index, float value);
    virtual std::int32_t getProgram() { return curProgram; }
    virtual void setProgram(std::int32_t program) { curProgram = program; }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name) { *name = 0; }
    virtual void getParameterLabel(std::int32_t /*index*/, char* label) { *label = 0; }
    virtual void getParameterDisplay(std::int32_t /*index*/, char* text) { *text = 0; }
    virtual void getParameterName(std::int32_t /*index*/, char* text) { *text = 0; }
    virtual std::int32_t getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
    virtual std::int32_t setChunk(void* /*data*/, std::int32_t /*byteSize*/, bool /*isPreset*/) { return 0; }
    virtual void setUniqueId(std::int32_t id) { effectRecord.uniqueID = id; }
    virtual void setNumInputs(std::int32_t n) { effectRecord.numInputs = n; }
    virtual void setNumOutputs(std::int32_t n) { effectRecord.numOutputs = n; }
    virtual void setCanReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
    virtual void setCanDoubleReplacing(bool state) { setFlag(effFlagsCanDoubleReplacing, state); }
    virtual void setProgramChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
    virtual void setInitialDelay(std::int32_t samples) { effectRecord.initialDelay = samples; }
    virtual EditorBase* getEditor() { return editor; }
    virtual AEffect* getEffectRecord() { return &effectRecord; }
    virtual float getSampleRate() { return sampleRate; }
    virtual std::int32_t getBlockSize() { return blockSize; }
    virtual std::int32_t getHostVersion();
    virtual std::int32_t getCurrentId();
    virtual void hostIdle();
    virtual void decibelsToText(float value, char* text, std::int32_t maxLen);
    virtual void hertzToText(float samples, char* text, std::int32_t maxLen);
    virtual void millisecondsToText(float samples, char* text, std::int32_t maxLen);
    virtual void floatToText(float value, char* text, std::int32_t maxLen);
    virtual void integerToText(std::int32_t value, char* text, std::int32_t maxLen);
    virtual void process(float** /*inputs*/, float** /*outputs*/, std::int32_t /*sampleFrames*/) {}
    virtual float getVu() { return 0.0f; }
    virtual void setHasVu(bool state) { setFlag(effFlagsHasVu, state); }
    virtual void setHasClip(bool state) { setFlag(effFlagsHasClip, state); }
    virtual void setCanMono(bool state) { setFlag(effFlagsCanMono, state); }
    virtual void setRealQualities(std::int32_t qualities) { effectRecord.realQualities = qualities; }
    virtual void setOffQualities(std::int32_t qualities) { effectRecord.offQualities = qualities; }
    virtual bool isInputConnected(std::int32_t input);
    virtual bool isOutputConnected(std::int32_t output);

    /// Attaches the editor (owned from now on) and announces it in the flags.
    void setEditor(EditorBase* e);

    /// Finds the effect object behind a record handed out by getEffectRecord.
    static EffectBase* fromRecord(AEffect* record) { return static_cast<EffectBase*>(record->object); }

protected:
    void setFlag(std::int32_t flag, bool state);
    /// Calls the host with this effect's record; 0 when there is no host.
    std::intptr_t callHost(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                           void* ptr = nullptr, float opt = 0.0f);

    HostCallback hostCallback;
    EditorBase* editor = nullptr;
    float sampleRate = 44100.0f;
    std::int32_t blockSize = 1024;
    std::int32_t numPrograms;
    std::int32_t numParams;
    std::int32_t curProgram = 0;
    AEffect effectRecord;
};
