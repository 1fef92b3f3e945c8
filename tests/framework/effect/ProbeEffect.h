// An effect and an editor that write every operation reaching them into a log,
// as "name(arguments)", and answer what the test configures. Tests drive them
// only through the effect's record, as a host does.
#pragma once

#include "ExtendedEffect.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace probe {

inline void describeOne(std::ostringstream& out, bool value) { out << (value ? "true" : "false"); }
inline void describeOne(std::ostringstream& out, const void* value) {
    if (value == nullptr)
        out << "null";
    else
        out << '@' << value;
}
inline void describeOne(std::ostringstream& out, std::nullptr_t) { out << "null"; }
template <typename T>
void describeOne(std::ostringstream& out, T value) {
    if constexpr (std::is_pointer_v<T>)
        describeOne(out, static_cast<const void*>(value));
    else
        out << +value;
}

/// "name(a,b,...)", pointers as their address or null.
template <typename... Args>
std::string call(const char* name, Args... args) {
    std::ostringstream out;
    out << name << '(';
    bool first = true;
    ((out << (first ? "" : ","), describeOne(out, args), first = false), ...);
    out << ')';
    return out.str();
}

/// Logs its calls and its destruction; answers `yes` to every bool question.
class ProbeEditor : public EditorBase {
public:
    ProbeEditor(EffectBase* effect, std::vector<std::string>& log) : EditorBase(effect), log(log) {}
    ~ProbeEditor() override { log.push_back("~editor"); }

    bool getRect(ERect** out) override {
        log.push_back(call("editor.getRect", out));
        *out = &rect;
        return yes;
    }
    bool open(void* parent) override {
        log.push_back(call("editor.open", parent));
        return yes;
    }
    void close() override { log.push_back("editor.close()"); }
    void idle() override { log.push_back("editor.idle()"); }
    bool onKeyDown(VstKeyCode& key) override {
        log.push_back(call("editor.onKeyDown", key.character, key.virt, key.modifier));
        return yes;
    }
    bool onKeyUp(VstKeyCode& key) override {
        log.push_back(call("editor.onKeyUp", key.character, key.virt, key.modifier));
        return yes;
    }
    bool setKnobMode(std::int32_t mode) override {
        log.push_back(call("editor.setKnobMode", mode));
        return yes;
    }

    std::vector<std::string>& log;
    ERect rect{1, 2, 83, 417};
    bool yes = true;
};

/// Overrides every operation an opcode or a record entry reaches. Integer
/// operations answer `answer`, bool operations `yes`.
class ProbeEffect : public ExtendedEffect {
public:
    ProbeEffect(HostCallback callback, std::vector<std::string>& log, std::int32_t programs = 4)
        : ExtendedEffect(callback, programs, 6), log(log) {}
    ~ProbeEffect() override { log.push_back("~effect"); }

    /// Attaches a probe editor logging into the same log.
    ProbeEditor* attachEditor() {
        auto* e = new ProbeEditor(this, log);
        setEditor(e);
        return e;
    }
    AEffect* record() { return getEffectRecord(); }

    // Reached through EffectBase's dispatcher and the record's entries.
    void open() override { note("open"); }
    void close() override { note("close"); }
    void suspend() override { note("suspend"); }
    void resume() override { note("resume"); }
    void setSampleRate(float rate) override { note("setSampleRate", rate); }
    void setBlockSize(std::int32_t size) override { note("setBlockSize", size); }
    void processReplacing(float** inputs, float** outputs, std::int32_t frames) override {
        note("processReplacing", inputs, outputs, frames);
    }
    void processDoubleReplacing(double** inputs, double** outputs, std::int32_t frames) override {
        note("processDoubleReplacing", inputs, outputs, frames);
    }
    void process(float** inputs, float** outputs, std::int32_t frames) override {
        note("process", inputs, outputs, frames);
    }
    void setParameter(std::int32_t index, float value) override { note("setParameter", index, value); }
    float getParameter(std::int32_t index) override {
        note("getParameter", index);
        return parameterAnswer;
    }
    std::int32_t getProgram() override { return noteInt("getProgram"); }
    void setProgram(std::int32_t program) override { note("setProgram", program); }
    void setProgramName(char* name) override { note("setProgramName", name); }
    void getProgramName(char* name) override { note("getProgramName", name); }
    void getParameterLabel(std::int32_t index, char* label) override { note("getParameterLabel", index, label); }
    void getParameterDisplay(std::int32_t index, char* text) override { note("getParameterDisplay", index, text); }
    void getParameterName(std::int32_t index, char* text) override { note("getParameterName", index, text); }
    std::int32_t getChunk(void** data, bool isPreset) override { return noteInt("getChunk", data, isPreset); }
    std::int32_t setChunk(void* data, std::int32_t size, bool isPreset) override {
        return noteInt("setChunk", data, size, isPreset);
    }

    // Reached through ExtendedEffect's dispatcher.
    std::int32_t processEvents(VstEvents* events) override { return noteInt("processEvents", events); }
    bool canParameterBeAutomated(std::int32_t index) override { return noteBool("canParameterBeAutomated", index); }
    bool stringToParameter(std::int32_t index, char* text) override {
        return noteBool("stringToParameter", index, text);
    }
    bool getProgramNameIndexed(std::int32_t category, std::int32_t index, char* text) override {
        return noteBool("getProgramNameIndexed", category, index, text);
    }
    bool getInputProperties(std::int32_t index, void* properties) override {
        return noteBool("getInputProperties", index, properties);
    }
    bool getOutputProperties(std::int32_t index, void* properties) override {
        return noteBool("getOutputProperties", index, properties);
    }
    std::int32_t getPlugCategory() override { return noteInt("getPlugCategory"); }
    bool offlineNotify(void* files, std::int32_t count, bool start) override {
        return noteBool("offlineNotify", files, count, start);
    }
    bool offlinePrepare(void* tasks, std::int32_t count) override { return noteBool("offlinePrepare", tasks, count); }
    bool offlineRun(void* tasks, std::int32_t count) override { return noteBool("offlineRun", tasks, count); }
    bool processVariableIo(void* varIo) override { return noteBool("processVariableIo", varIo); }
    bool setSpeakerArrangement(void* input, void* output) override {
        return noteBool("setSpeakerArrangement", input, output);
    }
    bool setBypass(bool onOff) override { return noteBool("setBypass", onOff); }
    bool getEffectName(char* text) override { return noteBool("getEffectName", text); }
    bool getVendorString(char* text) override { return noteBool("getVendorString", text); }
    bool getProductString(char* text) override { return noteBool("getProductString", text); }
    std::int32_t getVendorVersion() override {
        if (throwFromVendorVersion) throw std::runtime_error("probe");
        return noteInt("getVendorVersion");
    }
    std::intptr_t vendorSpecific(std::int32_t index, std::intptr_t value, void* ptr, float opt) override {
        return noteInt("vendorSpecific", index, value, ptr, opt);
    }
    std::int32_t canDo(char* text) override { return noteInt("canDo", text); }
    std::int32_t getTailSize() override { return noteInt("getTailSize"); }
    bool getParameterProperties(std::int32_t index, void* properties) override {
        return noteBool("getParameterProperties", index, properties);
    }
    std::int32_t getVstVersion() override { return noteInt("getVstVersion"); }
    std::int32_t getMidiProgramName(std::int32_t channel, void* name) override {
        return noteInt("getMidiProgramName", channel, name);
    }
    std::int32_t getCurrentMidiProgram(std::int32_t channel, void* name) override {
        return noteInt("getCurrentMidiProgram", channel, name);
    }
    std::int32_t getMidiProgramCategory(std::int32_t channel, void* category) override {
        return noteInt("getMidiProgramCategory", channel, category);
    }
    bool hasMidiProgramsChanged(std::int32_t channel) override { return noteBool("hasMidiProgramsChanged", channel); }
    bool getMidiKeyName(std::int32_t channel, void* keyName) override {
        return noteBool("getMidiKeyName", channel, keyName);
    }
    bool beginSetProgram() override { return noteBool("beginSetProgram"); }
    bool endSetProgram() override { return noteBool("endSetProgram"); }
    bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) override {
        return noteBool("getSpeakerArrangement", input, output);
    }
    std::int32_t shellGetNextPlugin(char* name) override { return noteInt("shellGetNextPlugin", name); }
    std::int32_t startProcess() override { return noteInt("startProcess"); }
    std::int32_t stopProcess() override { return noteInt("stopProcess"); }
    std::int32_t setTotalSampleToProcess(std::int32_t value) override {
        return noteInt("setTotalSampleToProcess", value);
    }
    bool setPanLaw(std::int32_t type, float value) override { return noteBool("setPanLaw", type, value); }
    std::int32_t beginLoadBank(void* info) override { return noteInt("beginLoadBank", info); }
    std::int32_t beginLoadProgram(void* info) override { return noteInt("beginLoadProgram", info); }
    bool setProcessPrecision(std::int32_t precision) override { return noteBool("setProcessPrecision", precision); }
    std::int32_t getNumMidiInputChannels() override { return noteInt("getNumMidiInputChannels"); }
    std::int32_t getNumMidiOutputChannels() override { return noteInt("getNumMidiOutputChannels"); }

    std::vector<std::string>& log;
    std::int32_t answer = 0;
    bool yes = false;
    float parameterAnswer = 0.0f;
    bool throwFromVendorVersion = false;

private:
    template <typename... Args>
    void note(const char* name, Args... args) {
        log.push_back(call(name, args...));
    }
    template <typename... Args>
    std::int32_t noteInt(const char* name, Args... args) {
        note(name, args...);
        return answer;
    }
    template <typename... Args>
    bool noteBool(const char* name, Args... args) {
        note(name, args...);
        return yes;
    }
};

/// An effect that keeps every frame default.
class PlainEffect : public ExtendedEffect {
public:
    explicit PlainEffect(HostCallback callback, std::int32_t programs = 3, std::int32_t parameters = 5)
        : ExtendedEffect(callback, programs, parameters) {}
    void processReplacing(float**, float**, std::int32_t) override {}
};

/// An effect built on EffectBase alone, which knows opcodes 0 to 24 only.
class BaseOnlyEffect : public EffectBase {
public:
    explicit BaseOnlyEffect(HostCallback callback) : EffectBase(callback, 3, 5) {}
    void processReplacing(float**, float**, std::int32_t) override {}
};

}  // namespace probe
