// The host's test partner: a two-channel gain (gain factor 2 × value, so 0.5
// passes the signal unchanged) that writes down what the host does to it. It
// appends one line per call to the file named by PROBE_LOG:
//   version N                      the host's answer to audioMasterVersion
//   dispatch OPCODE INDEX VALUE OPT
//   set INDEX VALUE                a parameter change
//   process FRAMES samplePos sampleRate tempo ppqPos barStartPos flags numerator denominator
//   process FRAMES none            when the host answers no time record
// PROBE_SHAPE turns it into the faulty or unusual plug-ins hosts meet:
//   null      the entry point answers no effect
//   badmagic  the record carries the wrong magic number
//   mono      one input and one output
//   wide      four inputs (the last two added into the outputs) and three outputs;
//             it scribbles over its inputs, as careless plug-ins do
//   nochunks  state only through parameter values
#include "EditorBase.h"
#include "ExtendedEffect.h"
#include "PluginEntry.h"
#include "TextCopy.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kPrograms = 2;
constexpr int kParams = 2;
constexpr std::array<const char*, kPrograms> kProgramNames = {"Unity", "Quiet"};
constexpr std::array<std::array<float, kParams>, kPrograms> kProgramValues = {{{0.5f, 0.5f}, {0.25f, 0.25f}}};

std::string shape() {
    const char* text = std::getenv("PROBE_SHAPE");
    return text != nullptr ? text : "";
}

class ProbeEditor : public EditorBase {
public:
    using EditorBase::EditorBase;
    bool getRect(ERect** out) override {
        *out = &rect;
        return true;
    }

private:
    ERect rect{0, 0, 120, 300};
};

class ProbeEffect : public ExtendedEffect {
public:
    ProbeEffect(HostCallback callback, const std::string& kind) : ExtendedEffect(callback, kPrograms, kParams) {
        wide = kind == "wide";
        const bool mono = kind == "mono";
        setNumInputs(mono ? 1 : wide ? 4 : 2);
        setNumOutputs(mono ? 1 : wide ? 3 : 2);
        setUniqueId(fourCharacters('V', 'T', 'p', 'b'));
        setProgramChunks(kind != "nochunks");
        if (kind == "badmagic") effectRecord.magic = fourCharacters('V', 's', 't', 'Q');
        setEditor(new ProbeEditor(this));
        values = kProgramValues;
        if (const char* path = std::getenv("PROBE_LOG")) log = std::fopen(path, "a");
        note("version %d\n", getHostVersion());
    }

    ~ProbeEffect() override {
        if (log != nullptr) std::fclose(log);
    }

    std::intptr_t dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                             float opt) override {
        note("dispatch %d %d %lld %g\n", opcode, index, static_cast<long long>(value), static_cast<double>(opt));
        return ExtendedEffect::dispatcher(opcode, index, value, ptr, opt);
    }

    void processReplacing(float** inputs, float** outputs, std::int32_t frames) override {
        const VstTimeInfo* time = getTimeInfo(kVstTempoValid | kVstPpqPosValid | kVstBarsValid | kVstTimeSigValid);
        if (time == nullptr)
            note("process %d none\n", frames);
        else
            note("process %d %.17g %.17g %.17g %.17g %.17g %d %d %d\n", frames, time->samplePos, time->sampleRate,
                 time->tempo, time->ppqPos, time->barStartPos, time->flags, time->timeSigNumerator,
                 time->timeSigDenominator);
        const std::int32_t channels = effectRecord.numOutputs < 2 ? 1 : 2;
        for (std::int32_t channel = 0; channel < channels; ++channel) {
            const float gain = 2.0f * values[static_cast<std::size_t>(curProgram)][static_cast<std::size_t>(channel)];
            for (std::int32_t i = 0; i < frames; ++i) {
                outputs[channel][i] = inputs[channel][i] * gain;
                if (wide) outputs[channel][i] += inputs[channel + 2][i];
            }
        }
        if (wide)
            for (std::int32_t i = 0; i < frames; ++i) {
                outputs[2][i] = 1.0f;
                for (std::int32_t channel = 0; channel < 4; ++channel) inputs[channel][i] = 0.5f;
            }
    }

    void setParameter(std::int32_t index, float value) override {
        note("set %d %.9g\n", index, static_cast<double>(value));
        if (index >= 0 && index < kParams) current()[static_cast<std::size_t>(index)] = value;
    }

    float getParameter(std::int32_t index) override {
        return index >= 0 && index < kParams ? current()[static_cast<std::size_t>(index)] : 0.0f;
    }

    void getParameterName(std::int32_t index, char* text) override { copyBounded(text, index == 0 ? "Gain L" : "Gain R", 8); }
    // The second label holds the characters JSON must escape.
    void getParameterLabel(std::int32_t index, char* text) override { copyBounded(text, index == 0 ? "x" : "\"x\\", 8); }
    void getParameterDisplay(std::int32_t index, char* text) override {
        std::snprintf(text, 9, "%.4f", static_cast<double>(2.0f * getParameter(index)));
    }

    void getProgramName(char* name) override { copyBounded(name, kProgramNames[static_cast<std::size_t>(curProgram)], 24); }
    bool getProgramNameIndexed(std::int32_t, std::int32_t index, char* text) override {
        if (index < 0 || index >= kPrograms) return false;
        copyBounded(text, kProgramNames[static_cast<std::size_t>(index)], 24);
        return true;
    }

    // The bank chunk is every program's values, the preset chunk the current program's.
    std::int32_t getChunk(void** data, bool isPreset) override {
        *data = isPreset ? static_cast<void*>(current().data()) : static_cast<void*>(values.data());
        return isPreset ? sizeof(float) * kParams : sizeof values;
    }

    std::int32_t setChunk(void* data, std::int32_t byteSize, bool isPreset) override {
        const std::size_t expected = isPreset ? sizeof(float) * kParams : sizeof values;
        if (byteSize < 0 || static_cast<std::size_t>(byteSize) != expected) return 0;
        std::memcpy(isPreset ? static_cast<void*>(current().data()) : static_cast<void*>(values.data()), data, expected);
        return byteSize;
    }

    bool getEffectName(char* text) override {
        copyBounded(text, "Plughost Probe", 32);
        return true;
    }
    bool getVendorString(char* text) override {
        copyBounded(text, "Velmora Tonal Works", 64);
        return true;
    }
    bool getProductString(char* text) override {
        copyBounded(text, "Probe", 64);
        return true;
    }
    std::int32_t getVendorVersion() override { return 7; }
    std::int32_t getPlugCategory() override { return kPlugCategEffect; }
    std::int32_t canDo(char* text) override {
        if (std::strcmp(text, "receiveVstTimeInfo") == 0) return 1;
        if (std::strcmp(text, "bypass") == 0) return -1;
        return 0;
    }

private:
    std::array<float, kParams>& current() { return values[static_cast<std::size_t>(curProgram)]; }

    template <typename... Values>
    void note(const char* format, Values... v) {
        if (log == nullptr) return;
        std::fprintf(log, format, v...);
        std::fflush(log);
    }

    std::array<std::array<float, kParams>, kPrograms> values{};
    bool wide = false;
    std::FILE* log = nullptr;
};

}  // namespace

EffectBase* createEffect(HostCallback hostCallback) {
    const std::string kind = shape();
    if (kind == "null") return nullptr;
    return new ProbeEffect(hostCallback, kind);
}
