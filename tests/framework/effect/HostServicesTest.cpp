// Every host service: the host opcode and arguments it sends, how it turns the
// host's answer into its own, and what it answers when there is no host.
#include "ExtendedEffect.h"
#include "FakeHost.h"
#include "ProbeEffect.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using probe::call;

// How a service turns the host's answer into its result.
enum class Conversion {
    asIs,       // the answer unchanged (results that are int32 keep its low 32 bits)
    pointer,    // the answer unchanged, as a pointer
    nonZero,    // 1 when the answer is not 0 (bool results, and 1/0 integers)
    isZero,     // 1 when the answer is 0 (pin connected)
    version,    // as is, but 0 becomes 1
    none,       // no result
};

std::intptr_t expectedResult(Conversion conversion, std::intptr_t hostAnswer) {
    switch (conversion) {
        case Conversion::asIs:
            return static_cast<std::int32_t>(hostAnswer);
        case Conversion::pointer:
            return hostAnswer;
        case Conversion::nonZero:
            return hostAnswer != 0 ? 1 : 0;
        case Conversion::isZero:
            return hostAnswer == 0 ? 1 : 0;
        case Conversion::version:
            return hostAnswer == 0 ? 1 : static_cast<std::int32_t>(hostAnswer);
        case Conversion::none:
            return 0;
    }
    return -1;
}

std::intptr_t asAnswer(bool b) { return b ? 1 : 0; }
std::intptr_t asAnswer(const void* p) { return reinterpret_cast<std::intptr_t>(p); }

struct Service {
    const char* name;
    std::function<std::intptr_t(ExtendedEffect&)> run;
    HostCall sends;  // the record is filled in by the test
    Conversion conversion;
    std::intptr_t withoutHost;
};

char text[16];
int token;
void* const p = &token;

std::vector<Service> services() {
    using E = ExtendedEffect;
    return {
        {"getHostVersion", [](E& e) { return std::intptr_t{e.getHostVersion()}; },
         {nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f}, Conversion::version, 1},
        {"getCurrentId", [](E& e) { return std::intptr_t{e.getCurrentId()}; },
         {nullptr, audioMasterCurrentId, 0, 0, nullptr, 0.0f}, Conversion::asIs, 0},
        {"hostIdle", [](E& e) { return e.hostIdle(), std::intptr_t{0}; },
         {nullptr, audioMasterIdle, 0, 0, nullptr, 0.0f}, Conversion::none, 0},
        {"isInputConnected", [](E& e) { return asAnswer(e.isInputConnected(3)); },
         {nullptr, audioMasterPinConnected, 3, 0, nullptr, 0.0f}, Conversion::isZero, 1},
        {"isOutputConnected", [](E& e) { return asAnswer(e.isOutputConnected(2)); },
         {nullptr, audioMasterPinConnected, 2, 1, nullptr, 0.0f}, Conversion::isZero, 1},
        {"wantMidi", [](E& e) { return e.wantMidi(5), std::intptr_t{0}; },
         {nullptr, audioMasterWantMidi, 0, 5, nullptr, 0.0f}, Conversion::none, 0},
        {"getTimeInfo", [](E& e) { return asAnswer(e.getTimeInfo(kVstTempoValid)); },
         {nullptr, audioMasterGetTime, 0, kVstTempoValid, nullptr, 0.0f}, Conversion::pointer, 0},
        {"tempoAt", [](E& e) { return std::intptr_t{e.tempoAt(960)}; },
         {nullptr, audioMasterTempoAt, 0, 960, nullptr, 0.0f}, Conversion::asIs, 0},
        {"getNumAutomatableParameters", [](E& e) { return std::intptr_t{e.getNumAutomatableParameters()}; },
         {nullptr, audioMasterGetNumAutomatableParameters, 0, 0, nullptr, 0.0f}, Conversion::asIs, 0},
        {"getParameterQuantization", [](E& e) { return std::intptr_t{e.getParameterQuantization()}; },
         {nullptr, audioMasterGetParameterQuantization, 0, 0, nullptr, 0.0f}, Conversion::asIs, 0},
        {"ioChanged", [](E& e) { return asAnswer(e.ioChanged()); },
         {nullptr, audioMasterIOChanged, 0, 0, nullptr, 0.0f}, Conversion::nonZero, 0},
        {"needIdle", [](E& e) { return asAnswer(e.needIdle()); },
         {nullptr, audioMasterNeedIdle, 0, 0, nullptr, 0.0f}, Conversion::nonZero, 0},
        {"sizeWindow", [](E& e) { return asAnswer(e.sizeWindow(416, 82)); },
         {nullptr, audioMasterSizeWindow, 416, 82, nullptr, 0.0f}, Conversion::nonZero, 0},
        {"getInputLatency", [](E& e) { return std::intptr_t{e.getInputLatency()}; },
         {nullptr, audioMasterGetInputLatency, 0, 0, nullptr, 0.0f}, Conversion::asIs, 0},
        {"getOutputLatency", [](E& e) { return std::intptr_t{e.getOutputLatency()}; },
         {nullptr, audioMasterGetOutputLatency, 0, 0, nullptr, 0.0f}, Conversion::asIs, 0},
        {"getPreviousPlug", [](E& e) { return asAnswer(e.getPreviousPlug(3)); },
         {nullptr, audioMasterGetPreviousPlug, 0, 0, nullptr, 0.0f}, Conversion::pointer, 0},
        {"getNextPlug", [](E& e) { return asAnswer(e.getNextPlug(4)); },
         {nullptr, audioMasterGetNextPlug, 0, 0, nullptr, 0.0f}, Conversion::pointer, 0},
        {"willReplaceOrAccumulate", [](E& e) { return std::intptr_t{e.willReplaceOrAccumulate()}; },
         {nullptr, audioMasterWillReplaceOrAccumulate, 0, 0, nullptr, 0.0f}, Conversion::asIs, 0},
        {"getCurrentProcessLevel", [](E& e) { return std::intptr_t{e.getCurrentProcessLevel()}; },
         {nullptr, audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0.0f}, Conversion::asIs, 0},
        {"getAutomationState", [](E& e) { return std::intptr_t{e.getAutomationState()}; },
         {nullptr, audioMasterGetAutomationState, 0, 0, nullptr, 0.0f}, Conversion::asIs, 0},
        {"offlineStart", [](E& e) { return asAnswer(e.offlineStart(p, 4, 2)); },
         {nullptr, audioMasterOfflineStart, 2, 4, p, 0.0f}, Conversion::nonZero, 0},
        {"offlineRead", [](E& e) { return asAnswer(e.offlineRead(p, 5, true)); },
         {nullptr, audioMasterOfflineRead, 1, 5, p, 0.0f}, Conversion::nonZero, 0},
        {"offlineRead from the destination", [](E& e) { return asAnswer(e.offlineRead(p, 6, false)); },
         {nullptr, audioMasterOfflineRead, 0, 6, p, 0.0f}, Conversion::nonZero, 0},
        {"offlineWrite", [](E& e) { return asAnswer(e.offlineWrite(p, 7)); },
         {nullptr, audioMasterOfflineWrite, 0, 7, p, 0.0f}, Conversion::nonZero, 0},
        {"offlineGetCurrentPass", [](E& e) { return std::intptr_t{e.offlineGetCurrentPass()}; },
         {nullptr, audioMasterOfflineGetCurrentPass, 0, 0, nullptr, 0.0f}, Conversion::nonZero, 0},
        {"offlineGetCurrentMetaPass", [](E& e) { return std::intptr_t{e.offlineGetCurrentMetaPass()}; },
         {nullptr, audioMasterOfflineGetCurrentMetaPass, 0, 0, nullptr, 0.0f}, Conversion::nonZero, 0},
        {"setOutputSampleRate", [](E& e) { return e.setOutputSampleRate(48000.0f), std::intptr_t{0}; },
         {nullptr, audioMasterSetOutputSampleRate, 0, 0, nullptr, 48000.0f}, Conversion::none, 0},
        {"getOutputSpeakerArrangement", [](E& e) { return asAnswer(e.getOutputSpeakerArrangement()); },
         {nullptr, audioMasterGetOutputSpeakerArrangement, 0, 0, nullptr, 0.0f}, Conversion::pointer, 0},
        {"getHostVendorString", [](E& e) { return asAnswer(e.getHostVendorString(text)); },
         {nullptr, audioMasterGetVendorString, 0, 0, text, 0.0f}, Conversion::nonZero, 0},
        {"getHostProductString", [](E& e) { return asAnswer(e.getHostProductString(text)); },
         {nullptr, audioMasterGetProductString, 0, 0, text, 0.0f}, Conversion::nonZero, 0},
        {"getHostVendorVersion", [](E& e) { return std::intptr_t{e.getHostVendorVersion()}; },
         {nullptr, audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f}, Conversion::asIs, 0},
        {"hostVendorSpecific", [](E& e) { return e.hostVendorSpecific(-3, 9, p, 0.5f); },
         {nullptr, audioMasterVendorSpecific, -3, 9, p, 0.5f}, Conversion::pointer, 0},
        {"canHostDo", [](E& e) { return std::intptr_t{e.canHostDo(text)}; },
         {nullptr, audioMasterCanDo, 0, 0, text, 0.0f}, Conversion::nonZero, 0},
        {"getHostLanguage", [](E& e) { return std::intptr_t{e.getHostLanguage()}; },
         {nullptr, audioMasterGetLanguage, 0, 0, nullptr, 0.0f}, Conversion::asIs, 0},
        {"openWindow", [](E& e) { return asAnswer(e.openWindow(p)); },
         {nullptr, audioMasterOpenWindow, 0, 0, p, 0.0f}, Conversion::pointer, 0},
        {"closeWindow", [](E& e) { return asAnswer(e.closeWindow(p)); },
         {nullptr, audioMasterCloseWindow, 0, 0, p, 0.0f}, Conversion::nonZero, 0},
        {"getDirectory", [](E& e) { return asAnswer(e.getDirectory()); },
         {nullptr, audioMasterGetDirectory, 0, 0, nullptr, 0.0f}, Conversion::pointer, 0},
        {"updateDisplay", [](E& e) { return asAnswer(e.updateDisplay()); },
         {nullptr, audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f}, Conversion::nonZero, 0},
        {"beginEdit", [](E& e) { return asAnswer(e.beginEdit(5)); },
         {nullptr, audioMasterBeginEdit, 5, 0, nullptr, 0.0f}, Conversion::nonZero, 0},
        {"endEdit", [](E& e) { return asAnswer(e.endEdit(6)); },
         {nullptr, audioMasterEndEdit, 6, 0, nullptr, 0.0f}, Conversion::nonZero, 0},
        {"openFileSelector", [](E& e) { return asAnswer(e.openFileSelector(p)); },
         {nullptr, audioMasterOpenFileSelector, 0, 0, p, 0.0f}, Conversion::nonZero, 0},
        {"closeFileSelector", [](E& e) { return asAnswer(e.closeFileSelector(p)); },
         {nullptr, audioMasterCloseFileSelector, 0, 0, p, 0.0f}, Conversion::nonZero, 0},
        {"getChunkFile", [](E& e) { return asAnswer(e.getChunkFile(p)); },
         {nullptr, audioMasterGetChunkFile, 0, 0, p, 0.0f}, Conversion::nonZero, 0},
        {"getInputSpeakerArrangement", [](E& e) { return asAnswer(e.getInputSpeakerArrangement()); },
         {nullptr, audioMasterGetInputSpeakerArrangement, 0, 0, nullptr, 0.0f}, Conversion::pointer, 0},
    };
}

TEST(HostServices, EachSendsItsOpcodeAndArgumentsAndConvertsTheAnswer) {
    VstTimeInfo someRecord{};
    const std::intptr_t address = reinterpret_cast<std::intptr_t>(&someRecord);
    for (const Service& service : services()) {
        std::vector<std::intptr_t> hostAnswers = {0, 1, -1, 2400};
        if (service.conversion == Conversion::pointer) hostAnswers.push_back(address);
        for (const std::intptr_t hostAnswer : hostAnswers) {
            SCOPED_TRACE(std::string(service.name) + " with host answer " + std::to_string(hostAnswer));
            FakeHost host;
            host.answer(service.sends.opcode, hostAnswer);
            probe::PlainEffect effect{FakeHost::callback()};
            EXPECT_EQ(service.run(effect), expectedResult(service.conversion, hostAnswer));
            ASSERT_EQ(host.calls.size(), 1u);
            const HostCall& sent = host.calls[0];
            EXPECT_EQ(sent.effect, effect.getEffectRecord());
            EXPECT_EQ(sent.opcode, service.sends.opcode);
            EXPECT_EQ(sent.index, service.sends.index);
            EXPECT_EQ(sent.value, service.sends.value);
            EXPECT_EQ(sent.ptr, service.sends.ptr);
            EXPECT_EQ(sent.opt, service.sends.opt);
        }
    }
}

TEST(HostServices, WithoutAHostEachAnswersItsDefault) {
    FakeHost bystander;
    for (const Service& service : services()) {
        SCOPED_TRACE(service.name);
        probe::PlainEffect effect{nullptr};
        EXPECT_EQ(service.run(effect), service.withoutHost);
    }
    EXPECT_TRUE(bystander.calls.empty());
}

TEST(HostServices, SelectorAndChunkFileServicesDoNotSendANullPointer) {
    const std::function<bool(ExtendedEffect&)> services[] = {
        [](ExtendedEffect& e) { return e.openFileSelector(nullptr); },
        [](ExtendedEffect& e) { return e.closeFileSelector(nullptr); },
        [](ExtendedEffect& e) { return e.getChunkFile(nullptr); },
    };
    for (const auto& service : services) {
        FakeHost host;
        host.answer(audioMasterOpenFileSelector, 1);
        host.answer(audioMasterCloseFileSelector, 1);
        host.answer(audioMasterGetChunkFile, 1);
        probe::PlainEffect effect{FakeHost::callback()};
        EXPECT_FALSE(service(effect));
        EXPECT_TRUE(host.calls.empty());
    }
}

// updateSampleRate and updateBlockSize keep a positive answer and answer the
// member, without telling the effect's own setters.
TEST(HostServices, RateAndBlockSizeQueriesKeepOnlyPositiveAnswers) {
    struct Row {
        std::intptr_t hostAnswer;
        float rate;
        std::int32_t blockSize;
    };
    const Row rows[] = {{48000, 48000.0f, 48000}, {1, 1.0f, 1}, {0, 44100.0f, 1024}, {-96000, 44100.0f, 1024}};
    for (const Row& row : rows) {
        SCOPED_TRACE("host answers " + std::to_string(row.hostAnswer));
        FakeHost host;
        host.answer(audioMasterGetSampleRate, row.hostAnswer);
        host.answer(audioMasterGetBlockSize, row.hostAnswer);
        std::vector<std::string> log;
        probe::ProbeEffect effect{FakeHost::callback(), log};
        EXPECT_EQ(effect.updateSampleRate(), row.rate);
        EXPECT_EQ(effect.getSampleRate(), row.rate);
        EXPECT_EQ(effect.updateBlockSize(), row.blockSize);
        EXPECT_EQ(effect.getBlockSize(), row.blockSize);
        EXPECT_TRUE(log.empty());
        ASSERT_EQ(host.calls.size(), 2u);
        EXPECT_EQ(host.calls[0].opcode, audioMasterGetSampleRate);
        EXPECT_EQ(host.calls[1].opcode, audioMasterGetBlockSize);
        EXPECT_EQ(host.calls[0].effect, effect.record());
    }
    probe::PlainEffect alone{nullptr};
    alone.setBlockSizeAndSampleRate(64, 22050.0f);
    EXPECT_EQ(alone.updateSampleRate(), 22050.0f);
    EXPECT_EQ(alone.updateBlockSize(), 64);
}

// Notes how many host calls had been made when the value was stored.
class StoreOrderEffect : public probe::PlainEffect {
public:
    explicit StoreOrderEffect(FakeHost& host) : PlainEffect(FakeHost::callback()), host(host) {}
    void setParameter(std::int32_t index, float value) override {
        stored.push_back(call("setParameter", index, value) + " after " + std::to_string(host.calls.size()));
    }
    FakeHost& host;
    std::vector<std::string> stored;
};

TEST(HostServices, AutomationStoresTheValueBeforeTellingTheHost) {
    FakeHost host;
    host.answer(audioMasterAutomate, 1);
    StoreOrderEffect effect{host};
    effect.setParameterAutomated(2, 0.25f);
    EXPECT_EQ(effect.stored, std::vector<std::string>{call("setParameter", 2, 0.25f) + " after 0"});
    ASSERT_EQ(host.calls.size(), 1u);
    const HostCall& sent = host.calls[0];
    EXPECT_EQ(sent.effect, effect.getEffectRecord());
    EXPECT_EQ(sent.opcode, audioMasterAutomate);
    EXPECT_EQ(sent.index, 2);
    EXPECT_EQ(sent.value, 0);
    EXPECT_EQ(sent.ptr, nullptr);
    EXPECT_EQ(sent.opt, 0.25f);
}

TEST(HostServices, AutomationWithoutAHostStillStoresTheValue) {
    std::vector<std::string> log;
    probe::ProbeEffect effect{nullptr, log};
    effect.setParameterAutomated(3, 0.5f);
    EXPECT_EQ(log, std::vector<std::string>{call("setParameter", 3, 0.5f)});
}

}  // namespace
