// The effect class every plug-in derives from: serves opcodes 25 to 79 and
// continues EffectBase's operations with the extended host queries, the host
// services and the speaker-arrangement helpers. Slot order is part of the design.
#pragma once

#include "EffectBase.h"

class ExtendedEffect : public EffectBase {
public:
    ExtendedEffect(HostCallback callback, std::int32_t programCount, std::int32_t parameterCount)
        : EffectBase(callback, programCount, parameterCount) {}

    std::intptr_t dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                             float opt) override;

    virtual bool canParameterBeAutomated(std::int32_t /*index*/) { return false; }
    virtual bool stringToParameter(std::int32_t /*index*/, char* /*text*/) { return false; }
    virtual bool getParameterProperties(std::int32_t /*index*/, void* /*properties*/) { return false; }
    virtual bool beginEdit(std::int32_t index);
    virtual bool endEdit(std::int32_t index);
    virtual bool getProgramNameIndexed(std::int32_t /*category*/, std::int32_t /*index*/, char* /*text*/) {
        return false;
    }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }
    virtual std::int32_t beginLoadBank(void* /*info*/) { return 0; }
    virtual std::int32_t beginLoadProgram(void* /*info*/) { return 0; }
    virtual bool ioChanged();
    virtual float updateSampleRate();
    virtual std::int32_t updateBlockSize();
    virtual std::int32_t getInputLatency();
    virtual std::int32_t getOutputLatency();
    virtual bool getInputProperties(std::int32_t /*index*/, void* /*properties*/) { return false; }
    virtual bool getOutputProperties(std::int32_t /*index*/, void* /*properties*/) { return false; }
    virtual bool setSpeakerArrangement(void* /*input*/, void* /*output*/) { return false; }
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);
    virtual bool setBypass(bool /*onOff*/) { return false; }
    virtual bool setPanLaw(std::int32_t /*type*/, float /*value*/) { return false; }
    virtual bool setProcessPrecision(std::int32_t /*precision*/) { return false; }
    virtual std::int32_t getNumMidiInputChannels() { return 0; }
    virtual std::int32_t getNumMidiOutputChannels() { return 0; }
    virtual VstTimeInfo* getTimeInfo(std::int32_t filter);
    virtual std::int32_t getCurrentProcessLevel();
    virtual std::int32_t getAutomationState();
    virtual std::int32_t processEvents(VstEvents* /*events*/) { return 0; }
    virtual std::int32_t startProcess() { return 0; }
    virtual std::int32_t stopProcess() { return 0; }
    virtual bool processVariableIo(void* /*varIo*/) { return false; }
    virtual std::int32_t setTotalSampleToProcess(std::int32_t value) { return value; }
    virtual bool getHostVendorString(char* text);
    virtual bool getHostProductString(char* text);
    virtual std::int32_t getHostVendorVersion();
    virtual std::intptr_t hostVendorSpecific(std::int32_t a, std::intptr_t b, void* p, float f);
    virtual std::int32_t canHostDo(char* text);
    virtual std::int32_t getHostLanguage();
    virtual void setIsSynth(bool state) { setFlag(effFlagsIsSynth, state); }
    virtual void setNoSoundInStop(bool state) { setFlag(effFlagsNoSoundInStop, state); }
    virtual std::int32_t getTailSize() { return 0; }
    virtual void* getDirectory();
    virtual bool getEffectName(char* /*text*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual std::int32_t getVendorVersion() { return 0; }
    virtual std::intptr_t vendorSpecific(std::int32_t /*index*/, std::intptr_t /*value*/, void* /*ptr*/,
                                         float /*opt*/) {
        return 0;
    }
    virtual std::int32_t canDo(char* /*text*/) { return 0; }
    virtual std::int32_t getVstVersion() { return 2400; }
    virtual std::int32_t getPlugCategory();
    virtual std::int32_t getMidiProgramName(std::int32_t /*channel*/, void* /*name*/) { return 0; }
    virtual std::int32_t getCurrentMidiProgram(std::int32_t /*channel*/, void* /*name*/) { return -1; }
    virtual std::int32_t getMidiProgramCategory(std::int32_t /*channel*/, void* /*category*/) { return 0; }
    virtual bool hasMidiProgramsChanged(std::int32_t /*channel*/) { return false; }
    virtual bool getMidiKeyName(std::int32_t /*channel*/, void* /*keyName*/) { return false; }
    virtual bool updateDisplay();
    virtual bool sizeWindow(std::int32_t width, std::int32_t height);
    virtual bool openFileSelector(void* selector);
    virtual bool closeFileSelector(void* selector);
    virtual std::int32_t shellGetNextPlugin(char* /*name*/) { return 0; }
    virtual bool allocateArrangement(VstSpeakerArrangement** arrangement, std::int32_t channels);
    virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement);
    virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
    virtual bool matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from);
    virtual bool offlineRead(void* task, std::int32_t option, bool readSource);
    virtual bool offlineWrite(void* task, std::int32_t option);
    virtual bool offlineStart(void* files, std::int32_t numFiles, std::int32_t numNewFiles);
    virtual std::int32_t offlineGetCurrentPass();
    virtual std::int32_t offlineGetCurrentMetaPass();
    virtual bool offlineNotify(void* /*files*/, std::int32_t /*numFiles*/, bool /*start*/) { return false; }
    virtual bool offlinePrepare(void* /*tasks*/, std::int32_t /*count*/) { return false; }
    virtual bool offlineRun(void* /*tasks*/, std::int32_t /*count*/) { return false; }
    virtual std::int32_t offlineGetNumPasses() { return 0; }
    virtual std::int32_t offlineGetNumMetaPasses() { return 0; }
    virtual void wantMidi(std::int32_t filter);
    virtual std::int32_t tempoAt(std::int32_t position);
    virtual std::int32_t getNumAutomatableParameters();
    virtual std::int32_t getParameterQuantization();
    virtual std::int32_t getNumProgramCategories() { return 1; }
    virtual bool copyProgram(std::int32_t /*destination*/) { return false; }
    virtual bool needIdle();
    virtual AEffect* getPreviousPlug(std::int32_t input);
    virtual AEffect* getNextPlug(std::int32_t output);
    virtual void connectInput(std::int32_t /*index*/, bool /*state*/) {}
    virtual void connectOutput(std::int32_t /*index*/, bool /*state*/) {}
    virtual std::int32_t willReplaceOrAccumulate();
    virtual void setExtIsAsync(bool state) { setFlag(effFlagsExtIsAsync, state); }
    virtual void setExtHasBuffer(bool state) { setFlag(effFlagsExtHasBuffer, state); }
    virtual std::int32_t getCurrentPosition() { return 0; }
    virtual float* getDestinationBuffer() { return nullptr; }
    virtual void setOutputSampleRate(float rate);
    virtual VstSpeakerArrangement* getInputSpeakerArrangement();
    virtual VstSpeakerArrangement* getOutputSpeakerArrangement();
    virtual void* openWindow(void* window);
    virtual bool closeWindow(void* window);
    virtual void setBlockSizeAndSampleRate(std::int32_t size, float rate) {
        blockSize = size;
        sampleRate = rate;
    }
    virtual bool getErrorText(char* /*text*/) { return false; }
    virtual void* getIcon() { return nullptr; }
    virtual bool setViewPosition(std::int32_t /*x*/, std::int32_t /*y*/) { return false; }
    virtual std::int32_t effectIdle() { return 0; }
    virtual bool keysRequired() { return false; }
    virtual bool getChunkFile(void* nativePath);
};
