// The dispatchers as a host meets them: what each opcode answers with the
// frame's defaults, which operation it reaches with which arguments, and the
// opcodes that must reach nothing.
#include "ExtendedEffect.h"
#include "ProbeEffect.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using probe::call;

// Host-side memory an opcode may point at, filled with a pattern so that any
// write shows.
struct HostMemory {
    HostMemory() {
        std::memset(text, 'x', sizeof text);
        std::memset(variable, 'x', sizeof variable);
    }
    bool untouched() const {
        for (std::size_t i = 0; i < sizeof text; ++i)
            if (text[i] != 'x' || variable[i] != 'x') return false;
        return true;
    }
    static bool nulledPointerThenUntouched(const char* bytes) {
        void* stored = &stored;
        std::memcpy(&stored, bytes, sizeof stored);
        if (stored != nullptr) return false;
        for (std::size_t i = sizeof stored; i < 64; ++i)
            if (bytes[i] != 'x') return false;
        return true;
    }
    std::intptr_t variableAsValue() { return reinterpret_cast<std::intptr_t>(variable); }

    alignas(void*) char text[64];
    alignas(void*) char variable[64];
};

bool takesValueAsPointer(std::int32_t opcode) {
    return opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
}

std::intptr_t send(AEffect* record, std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                   float opt) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

enum class Touch { nothing, firstByte, bothVariablesNulled };

struct Default {
    std::intptr_t answer;
    Touch touch;
};

// Every opcode from 0 to 80 not listed here answers 0 and touches nothing.
const std::map<std::int32_t, Default>& defaultsThatDiffer() {
    static const std::map<std::int32_t, Default> table = {
        {effGetProgramName, {0, Touch::firstByte}},
        {effGetParamLabel, {0, Touch::firstByte}},
        {effGetParamDisplay, {0, Touch::firstByte}},
        {effGetParamName, {0, Touch::firstByte}},
        {effIdentify, {0x4E764566, Touch::nothing}},
        {effGetVstVersion, {2400, Touch::nothing}},
        {effGetCurrentMidiProgram, {-1, Touch::nothing}},
        {effGetSpeakerArrangement, {0, Touch::bothVariablesNulled}},
        {effSetTotalSampleToProcess, {4096, Touch::nothing}},
    };
    return table;
}

// Arguments chosen so that any opcode that reads them has something to read.
constexpr std::int32_t kIndex = 1;
constexpr std::intptr_t kValue = 4096;
constexpr float kOpt = 3.5f;

TEST(Dispatcher, EveryOpcodeUpTo80AnswersTheFrameDefault) {
    for (std::int32_t opcode = 0; opcode <= 80; ++opcode) {
        if (opcode == effClose) continue;  // destroys the effect; see the editor tests
        SCOPED_TRACE("opcode " + std::to_string(opcode));
        probe::PlainEffect effect{nullptr};
        HostMemory memory;
        const std::intptr_t value = takesValueAsPointer(opcode) ? memory.variableAsValue() : kValue;
        const auto found = defaultsThatDiffer().find(opcode);
        const Default expected = found == defaultsThatDiffer().end() ? Default{0, Touch::nothing} : found->second;

        EXPECT_EQ(send(effect.getEffectRecord(), opcode, kIndex, value, memory.text, kOpt), expected.answer);
        switch (expected.touch) {
            case Touch::nothing:
                EXPECT_TRUE(memory.untouched());
                break;
            case Touch::firstByte:
                EXPECT_EQ(memory.text[0], 0);
                memory.text[0] = 'x';
                EXPECT_TRUE(memory.untouched());
                break;
            case Touch::bothVariablesNulled:
                EXPECT_TRUE(HostMemory::nulledPointerThenUntouched(memory.text));
                EXPECT_TRUE(HostMemory::nulledPointerThenUntouched(memory.variable));
                break;
        }
    }
}

TEST(Dispatcher, AnEffectOnTheBaseAloneAnswersLikeTheExtendedOneUpTo24AndZeroAbove) {
    for (std::int32_t opcode = 0; opcode <= 80; ++opcode) {
        if (opcode == effClose) continue;
        SCOPED_TRACE("opcode " + std::to_string(opcode));
        probe::PlainEffect extended{nullptr};
        probe::BaseOnlyEffect base{nullptr};
        HostMemory extendedMemory;
        HostMemory baseMemory;
        const std::intptr_t baseAnswer = send(base.getEffectRecord(), opcode, kIndex, baseMemory.variableAsValue(),
                                              baseMemory.text, kOpt);
        const std::intptr_t extendedAnswer = send(extended.getEffectRecord(), opcode, kIndex,
                                                  extendedMemory.variableAsValue(), extendedMemory.text, kOpt);
        if (opcode <= effSetChunk) {
            EXPECT_EQ(baseAnswer, extendedAnswer);
            EXPECT_EQ(std::memcmp(baseMemory.text, extendedMemory.text, sizeof baseMemory.text), 0);
        } else {
            EXPECT_EQ(baseAnswer, 0);
            EXPECT_TRUE(baseMemory.untouched());
        }
    }
}

TEST(Dispatcher, IdentifyAnswersTheSameWhateverTheArguments) {
    probe::PlainEffect effect{nullptr};
    HostMemory memory;
    EXPECT_EQ(send(effect.getEffectRecord(), effIdentify, 0, 0, nullptr, 0.0f), 0x4E764566);
    EXPECT_EQ(send(effect.getEffectRecord(), effIdentify, -5, -1, memory.text, 2.0f), 0x4E764566);
    EXPECT_TRUE(memory.untouched());
}

TEST(Dispatcher, RateBlockSizeAndProgramOpcodesChangeTheEffectsState) {
    probe::PlainEffect effect{nullptr};
    AEffect* record = effect.getEffectRecord();
    send(record, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    send(record, effSetBlockSize, 0, 512, nullptr, 0.0f);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(effect.getBlockSize(), 512);
}

TEST(Dispatcher, SetProgramIgnoresValuesOutsideTheProgramCount) {
    struct Row {
        std::intptr_t value;
        std::int32_t programAfter;
    };
    // The effect has 3 programs and starts each row at program 1.
    const std::intptr_t beyond32Bits = sizeof(std::intptr_t) == 8 ? static_cast<std::intptr_t>(0x100000000LL + 2) : -2;
    const Row rows[] = {{0, 0}, {2, 2}, {3, 1}, {-1, 1}, {1000, 1}, {beyond32Bits, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE("value " + std::to_string(row.value));
        probe::PlainEffect effect{nullptr, 3};
        AEffect* record = effect.getEffectRecord();
        send(record, effSetProgram, 0, 1, nullptr, 0.0f);
        EXPECT_EQ(send(record, effSetProgram, 0, row.value, nullptr, 0.0f), 0);
        EXPECT_EQ(send(record, effGetProgram, 0, 0, nullptr, 0.0f), row.programAfter);
    }
}

enum class Answer { zero, asIs, oneOrZero };

struct Route {
    std::int32_t opcode;
    std::int32_t index;
    std::intptr_t value;
    void* ptr;
    float opt;
    std::string reaches;
    Answer answer;
};

TEST(Dispatcher, EachOpcodeReachesItsOperationWithTheHostsArguments) {
    HostMemory memory;
    char* p = memory.text;
    void* v = memory.variable;
    const std::intptr_t vv = memory.variableAsValue();
    auto** vs = static_cast<VstSpeakerArrangement**>(v);
    auto** ps = reinterpret_cast<VstSpeakerArrangement**>(p);
    const Route routes[] = {
        {effOpen, 0, 0, nullptr, 0.0f, call("open"), Answer::zero},
        {effSetProgram, 0, 2, nullptr, 0.0f, call("setProgram", 2), Answer::zero},
        {effSetProgram, 0, 3, nullptr, 0.0f, call("setProgram", 3), Answer::zero},
        {effGetProgram, 0, 0, nullptr, 0.0f, call("getProgram"), Answer::asIs},
        {effSetProgramName, 0, 0, p, 0.0f, call("setProgramName", p), Answer::zero},
        {effGetProgramName, 0, 0, p, 0.0f, call("getProgramName", p), Answer::zero},
        {effGetParamLabel, 3, 0, p, 0.0f, call("getParameterLabel", 3, p), Answer::zero},
        {effGetParamDisplay, 4, 0, p, 0.0f, call("getParameterDisplay", 4, p), Answer::zero},
        {effGetParamName, 5, 0, p, 0.0f, call("getParameterName", 5, p), Answer::zero},
        {effSetSampleRate, 0, 0, nullptr, 48000.0f, call("setSampleRate", 48000.0f), Answer::zero},
        {effSetBlockSize, 0, 512, nullptr, 0.0f, call("setBlockSize", 512), Answer::zero},
        {effMainsChanged, 0, 5, nullptr, 0.0f, call("resume"), Answer::zero},
        {effMainsChanged, 0, 0, nullptr, 0.0f, call("suspend"), Answer::zero},
        {effGetChunk, 1, 0, p, 0.0f, call("getChunk", p, true), Answer::asIs},
        {effGetChunk, 0, 0, p, 0.0f, call("getChunk", p, false), Answer::asIs},
        {effSetChunk, 1, 448, p, 0.0f, call("setChunk", p, 448, true), Answer::asIs},
        {effSetChunk, 0, 32, p, 0.0f, call("setChunk", p, 32, false), Answer::asIs},
        {effProcessEvents, 0, 0, p, 0.0f, call("processEvents", p), Answer::asIs},
        {effCanBeAutomated, 3, 0, nullptr, 0.0f, call("canParameterBeAutomated", 3), Answer::oneOrZero},
        {effString2Parameter, 3, 0, p, 0.0f, call("stringToParameter", 3, p), Answer::oneOrZero},
        {effGetProgramNameIndexed, 3, 9, p, 0.0f, call("getProgramNameIndexed", 9, 3, p), Answer::oneOrZero},
        {effGetInputProperties, 1, 0, p, 0.0f, call("getInputProperties", 1, p), Answer::oneOrZero},
        {effGetOutputProperties, 2, 0, p, 0.0f, call("getOutputProperties", 2, p), Answer::oneOrZero},
        {effGetPlugCategory, 0, 0, nullptr, 0.0f, call("getPlugCategory"), Answer::asIs},
        {effOfflineNotify, 1, 9, p, 0.0f, call("offlineNotify", p, 9, true), Answer::oneOrZero},
        {effOfflineNotify, 0, 9, p, 0.0f, call("offlineNotify", p, 9, false), Answer::oneOrZero},
        {effOfflinePrepare, 0, 9, p, 0.0f, call("offlinePrepare", p, 9), Answer::oneOrZero},
        {effOfflineRun, 0, 8, p, 0.0f, call("offlineRun", p, 8), Answer::oneOrZero},
        {effProcessVarIo, 0, 0, p, 0.0f, call("processVariableIo", p), Answer::oneOrZero},
        {effSetSpeakerArrangement, 0, vv, p, 0.0f, call("setSpeakerArrangement", v, p), Answer::oneOrZero},
        {effSetBypass, 0, 7, nullptr, 0.0f, call("setBypass", true), Answer::oneOrZero},
        {effSetBypass, 0, 0, nullptr, 0.0f, call("setBypass", false), Answer::oneOrZero},
        {effGetEffectName, 0, 0, p, 0.0f, call("getEffectName", p), Answer::oneOrZero},
        {effGetVendorString, 0, 0, p, 0.0f, call("getVendorString", p), Answer::oneOrZero},
        {effGetProductString, 0, 0, p, 0.0f, call("getProductString", p), Answer::oneOrZero},
        {effGetVendorVersion, 0, 0, nullptr, 0.0f, call("getVendorVersion"), Answer::asIs},
        {effVendorSpecific, 3, 9, p, 0.5f, call("vendorSpecific", 3, 9, p, 0.5f), Answer::asIs},
        {effVendorSpecific, -2, -9, nullptr, -1.0f, call("vendorSpecific", -2, -9, nullptr, -1.0f), Answer::asIs},
        {effCanDo, 0, 0, p, 0.0f, call("canDo", p), Answer::asIs},
        {effGetTailSize, 0, 0, nullptr, 0.0f, call("getTailSize"), Answer::asIs},
        {effGetParameterProperties, 3, 0, p, 0.0f, call("getParameterProperties", 3, p), Answer::oneOrZero},
        {effGetVstVersion, 0, 0, nullptr, 0.0f, call("getVstVersion"), Answer::asIs},
        {effGetMidiProgramName, 3, 0, p, 0.0f, call("getMidiProgramName", 3, p), Answer::asIs},
        {effGetCurrentMidiProgram, 4, 0, p, 0.0f, call("getCurrentMidiProgram", 4, p), Answer::asIs},
        {effGetMidiProgramCategory, 5, 0, p, 0.0f, call("getMidiProgramCategory", 5, p), Answer::asIs},
        {effHasMidiProgramsChanged, 6, 0, nullptr, 0.0f, call("hasMidiProgramsChanged", 6), Answer::oneOrZero},
        {effGetMidiKeyName, 7, 0, p, 0.0f, call("getMidiKeyName", 7, p), Answer::oneOrZero},
        {effBeginSetProgram, 0, 0, nullptr, 0.0f, call("beginSetProgram"), Answer::oneOrZero},
        {effEndSetProgram, 0, 0, nullptr, 0.0f, call("endSetProgram"), Answer::oneOrZero},
        {effGetSpeakerArrangement, 0, vv, p, 0.0f, call("getSpeakerArrangement", vs, ps), Answer::oneOrZero},
        {effShellGetNextPlugin, 0, 0, p, 0.0f, call("shellGetNextPlugin", p), Answer::asIs},
        {effStartProcess, 0, 0, nullptr, 0.0f, call("startProcess"), Answer::asIs},
        {effStopProcess, 0, 0, nullptr, 0.0f, call("stopProcess"), Answer::asIs},
        {effSetTotalSampleToProcess, 0, 4096, nullptr, 0.0f, call("setTotalSampleToProcess", 4096), Answer::asIs},
        {effSetPanLaw, 0, 2, nullptr, 0.7f, call("setPanLaw", 2, 0.7f), Answer::oneOrZero},
        {effBeginLoadBank, 0, 0, p, 0.0f, call("beginLoadBank", p), Answer::asIs},
        {effBeginLoadProgram, 0, 0, p, 0.0f, call("beginLoadProgram", p), Answer::asIs},
        {effSetProcessPrecision, 0, 1, nullptr, 0.0f, call("setProcessPrecision", 1), Answer::oneOrZero},
        {effGetNumMidiInputChannels, 0, 0, nullptr, 0.0f, call("getNumMidiInputChannels"), Answer::asIs},
        {effGetNumMidiOutputChannels, 0, 0, nullptr, 0.0f, call("getNumMidiOutputChannels"), Answer::asIs},
    };
    // Negative integers must arrive sign-extended in the pointer-sized answer.
    struct Configuration {
        std::int32_t answer;
        bool yes;
    };
    for (const Configuration configuration : {Configuration{-7, true}, Configuration{40000, false}}) {
        for (const Route& route : routes) {
            SCOPED_TRACE(route.reaches + " answering " + std::to_string(configuration.answer));
            std::vector<std::string> log;
            probe::ProbeEffect effect{nullptr, log};
            effect.answer = configuration.answer;
            effect.yes = configuration.yes;
            const std::intptr_t answer =
                send(effect.record(), route.opcode, route.index, route.value, route.ptr, route.opt);
            EXPECT_EQ(log, std::vector<std::string>{route.reaches});
            switch (route.answer) {
                case Answer::zero:
                    EXPECT_EQ(answer, 0);
                    break;
                case Answer::asIs:
                    EXPECT_EQ(answer, static_cast<std::intptr_t>(configuration.answer));
                    break;
                case Answer::oneOrZero:
                    EXPECT_EQ(answer, configuration.yes ? 1 : 0);
                    break;
            }
        }
    }
}

TEST(Dispatcher, OpcodesWithoutAnOperationReachNothing) {
    const std::int32_t opcodes[] = {9, 16, 17, 18, 20, 21, 22, 28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57,
                                    80, 81, 1000, -1};
    for (const std::int32_t opcode : opcodes) {
        SCOPED_TRACE("opcode " + std::to_string(opcode));
        std::vector<std::string> log;
        probe::ProbeEffect effect{nullptr, log};
        effect.attachEditor();
        effect.answer = -7;
        effect.yes = true;
        HostMemory memory;
        const std::intptr_t answer =
            send(effect.record(), opcode, kIndex, memory.variableAsValue(), memory.text, kOpt);
        EXPECT_EQ(answer, opcode == effIdentify ? 0x4E764566 : 0);
        EXPECT_TRUE(log.empty());
        EXPECT_TRUE(memory.untouched());
    }
}

// A host that sends a null buffer, record or variable gets 0, and the operation
// that would read or write through it is never called.
TEST(Dispatcher, NullPointersAreRefusedBeforeAnyOperationSeesThem) {
    struct Row {
        std::int32_t opcode;
        bool nullValue;  // the value, taken as a pointer, is the null one
    };
    const Row rows[] = {
        {effSetProgramName, false},        {effGetProgramName, false},
        {effGetParamLabel, false},         {effGetParamDisplay, false},
        {effGetParamName, false},          {effEditGetRect, false},
        {effEditOpen, false},              {effGetChunk, false},
        {effSetChunk, false},              {effProcessEvents, false},
        {effString2Parameter, false},      {effGetProgramNameIndexed, false},
        {effGetInputProperties, false},    {effGetOutputProperties, false},
        {effOfflineNotify, false},         {effOfflinePrepare, false},
        {effOfflineRun, false},            {effProcessVarIo, false},
        {effSetSpeakerArrangement, false}, {effSetSpeakerArrangement, true},
        {effGetEffectName, false},         {effGetVendorString, false},
        {effGetProductString, false},      {effCanDo, false},
        {effGetParameterProperties, false}, {effGetMidiProgramName, false},
        {effGetCurrentMidiProgram, false}, {effGetMidiProgramCategory, false},
        {effGetMidiKeyName, false},        {effGetSpeakerArrangement, false},
        {effGetSpeakerArrangement, true},  {effShellGetNextPlugin, false},
        {effBeginLoadBank, false},         {effBeginLoadProgram, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("opcode " + std::to_string(row.opcode) + (row.nullValue ? " null value" : " null ptr"));
        std::vector<std::string> log;
        probe::ProbeEffect effect{nullptr, log};
        effect.attachEditor();
        effect.answer = -7;
        effect.yes = true;
        HostMemory memory;
        const std::intptr_t value = !takesValueAsPointer(row.opcode) ? 16
                                    : row.nullValue                  ? 0
                                                                     : memory.variableAsValue();
        void* ptr = row.nullValue ? memory.text : nullptr;
        EXPECT_EQ(send(effect.record(), row.opcode, 1, value, ptr, 0.0f), 0);
        EXPECT_TRUE(log.empty());
        EXPECT_TRUE(memory.untouched());
    }
}

TEST(Dispatcher, AnExceptionFromAnOperationDoesNotReachTheHost) {
    std::vector<std::string> log;
    probe::ProbeEffect effect{nullptr, log};
    effect.answer = 1000;
    effect.throwFromVendorVersion = true;
    EXPECT_EQ(send(effect.record(), effGetVendorVersion, 0, 0, nullptr, 0.0f), 0);
    effect.throwFromVendorVersion = false;
    EXPECT_EQ(send(effect.record(), effGetVendorVersion, 0, 0, nullptr, 0.0f), 1000);
}

TEST(Dispatcher, PlugCategoryFollowsTheSynthFlag) {
    probe::PlainEffect effect{nullptr};
    AEffect* record = effect.getEffectRecord();
    EXPECT_EQ(send(record, effGetPlugCategory, 0, 0, nullptr, 0.0f), kPlugCategUnknown);
    effect.setIsSynth(true);
    EXPECT_EQ(send(record, effGetPlugCategory, 0, 0, nullptr, 0.0f), kPlugCategSynth);
    effect.setIsSynth(false);
    EXPECT_EQ(send(record, effGetPlugCategory, 0, 0, nullptr, 0.0f), kPlugCategUnknown);
}

}  // namespace
