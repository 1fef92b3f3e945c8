#include "ExtendedEffect.h"
#include "FakeHost.h"
#include "ProbeEffect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

class PlainEffect : public ExtendedEffect {
public:
    explicit PlainEffect(HostCallback callback) : ExtendedEffect(callback, 3, 5) {}
    void processReplacing(float**, float**, std::int32_t) override {}
};

TEST(EffectRecord, ConstructionFillsThePublishedDefaults) {
    FakeHost host;
    auto* effect = new PlainEffect(FakeHost::callback());
    AEffect* record = effect->getEffectRecord();
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, 3);
    EXPECT_EQ(record->numParams, 5);
    EXPECT_EQ(record->numInputs, 1);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, 16);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->uniqueID, 0x4E6F4566);
    EXPECT_EQ(record->initialDelay, 0);
    EXPECT_EQ(record->object, effect);
    EXPECT_EQ(effect->getSampleRate(), 44100.0f);
    EXPECT_EQ(effect->getBlockSize(), 1024);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(EffectRecord, EveryOtherFieldStartsAtZeroAndEveryEntryIsSet) {
    probe::PlainEffect effect{nullptr};
    const AEffect* record = effect.getEffectRecord();
    EXPECT_EQ(record->resvd1, 0);
    EXPECT_EQ(record->resvd2, 0);
    EXPECT_EQ(record->realQualities, 0);
    EXPECT_EQ(record->offQualities, 0);
    EXPECT_EQ(record->user, nullptr);
    EXPECT_TRUE(std::all_of(std::begin(record->future), std::end(record->future), [](char c) { return c == 0; }));
    EXPECT_NE(record->dispatcher, nullptr);
    EXPECT_NE(record->process, nullptr);
    EXPECT_NE(record->setParameter, nullptr);
    EXPECT_NE(record->getParameter, nullptr);
    EXPECT_NE(record->processReplacing, nullptr);
    EXPECT_NE(record->processDoubleReplacing, nullptr);
}

TEST(EffectRecord, ConstructionDoesNotCallTheHost) {
    FakeHost host;
    probe::PlainEffect effect{FakeHost::callback()};
    EXPECT_TRUE(host.calls.empty());
}

TEST(EffectRecord, EachFlagSetterSetsAndClearsOnlyItsOwnBit) {
    struct Row {
        const char* setter;
        std::function<void(ExtendedEffect&, bool)> set;
        std::int32_t bit;
    };
    const Row rows[] = {
        {"setHasClip", [](ExtendedEffect& e, bool s) { e.setHasClip(s); }, 2},
        {"setHasVu", [](ExtendedEffect& e, bool s) { e.setHasVu(s); }, 4},
        {"setCanMono", [](ExtendedEffect& e, bool s) { e.setCanMono(s); }, 8},
        {"setCanReplacing", [](ExtendedEffect& e, bool s) { e.setCanReplacing(s); }, 16},
        {"setProgramChunks", [](ExtendedEffect& e, bool s) { e.setProgramChunks(s); }, 32},
        {"setIsSynth", [](ExtendedEffect& e, bool s) { e.setIsSynth(s); }, 256},
        {"setNoSoundInStop", [](ExtendedEffect& e, bool s) { e.setNoSoundInStop(s); }, 512},
        {"setExtIsAsync", [](ExtendedEffect& e, bool s) { e.setExtIsAsync(s); }, 1024},
        {"setExtHasBuffer", [](ExtendedEffect& e, bool s) { e.setExtHasBuffer(s); }, 2048},
        {"setCanDoubleReplacing", [](ExtendedEffect& e, bool s) { e.setCanDoubleReplacing(s); }, 4096},
    };
    // Every other bit is first set, then clear, so a setter that touches a
    // neighbour shows in one of the two passes.
    for (const std::int32_t others : {0x1F3F, 0}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.setter) + " with others " + std::to_string(others));
            probe::PlainEffect effect{nullptr};
            AEffect* record = effect.getEffectRecord();
            record->flags = others & ~row.bit;
            row.set(effect, true);
            EXPECT_EQ(record->flags, (others & ~row.bit) | row.bit);
            row.set(effect, false);
            EXPECT_EQ(record->flags, others & ~row.bit);
        }
    }
}

TEST(EffectRecord, AttachingAnEditorAnnouncesItAndDetachingClearsTheFlag) {
    std::vector<std::string> log;
    probe::ProbeEffect effect{nullptr, log};
    AEffect* record = effect.record();
    EXPECT_EQ(record->flags & effFlagsHasEditor, 0);
    probe::ProbeEditor* editor = effect.attachEditor();
    EXPECT_EQ(effect.getEditor(), editor);
    EXPECT_EQ(record->flags, effFlagsCanReplacing | effFlagsHasEditor);
    effect.setEditor(nullptr);
    EXPECT_EQ(effect.getEditor(), nullptr);
    EXPECT_EQ(record->flags, effFlagsCanReplacing);
    delete editor;
}

TEST(EffectRecord, RecordSettersWriteTheirFieldAndNothingElse) {
    struct Row {
        const char* setter;
        std::function<void(ExtendedEffect&)> set;
        std::int32_t AEffect::*field;
        std::int32_t expected;
    };
    const Row rows[] = {
        {"setUniqueId", [](ExtendedEffect& e) { e.setUniqueId(0x56545553); }, &AEffect::uniqueID, 0x56545553},
        {"setNumInputs", [](ExtendedEffect& e) { e.setNumInputs(2); }, &AEffect::numInputs, 2},
        {"setNumOutputs", [](ExtendedEffect& e) { e.setNumOutputs(6); }, &AEffect::numOutputs, 6},
        {"setInitialDelay", [](ExtendedEffect& e) { e.setInitialDelay(128); }, &AEffect::initialDelay, 128},
        {"setRealQualities", [](ExtendedEffect& e) { e.setRealQualities(3); }, &AEffect::realQualities, 3},
        {"setOffQualities", [](ExtendedEffect& e) { e.setOffQualities(-4); }, &AEffect::offQualities, -4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.setter);
        probe::PlainEffect effect{nullptr};
        AEffect before;
        std::memcpy(&before, effect.getEffectRecord(), sizeof before);
        row.set(effect);
        AEffect after;
        std::memcpy(&after, effect.getEffectRecord(), sizeof after);
        EXPECT_EQ(after.*row.field, row.expected);
        after.*row.field = before.*row.field;
        EXPECT_EQ(std::memcmp(&before, &after, sizeof after), 0);
    }
}

TEST(EffectRecord, BlockSizeAndSampleRateAreSetTogether) {
    probe::PlainEffect effect{nullptr};
    effect.setBlockSizeAndSampleRate(256, 96000.0f);
    EXPECT_EQ(effect.getBlockSize(), 256);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
}

TEST(EffectRecord, EachEntryReachesItsOperationWithTheHostsArguments) {
    std::vector<std::string> log;
    auto* effect = new probe::ProbeEffect(nullptr, log);
    AEffect* record = effect->record();
    float left[4] = {};
    float* inputs[2] = {left, left};
    float* outputs[2] = {left, left};
    double wide[4] = {};
    double* wideInputs[2] = {wide, wide};
    double* wideOutputs[2] = {wide, wide};

    record->process(record, inputs, outputs, 4);
    record->processReplacing(record, inputs, outputs, 3);
    record->processDoubleReplacing(record, wideInputs, wideOutputs, 2);
    record->setParameter(record, 5, 0.75f);
    effect->parameterAnswer = 0.375f;
    EXPECT_EQ(record->getParameter(record, 4), 0.375f);

    EXPECT_EQ(log, (std::vector<std::string>{
                       probe::call("process", inputs, outputs, 4),
                       probe::call("processReplacing", inputs, outputs, 3),
                       probe::call("processDoubleReplacing", wideInputs, wideOutputs, 2),
                       probe::call("setParameter", 5, 0.75f),
                       probe::call("getParameter", 4),
                   }));
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}

TEST(EffectRecord, TheFramesProcessLeavesTheOutputsAsTheyAre) {
    probe::PlainEffect effect{nullptr};
    AEffect* record = effect.getEffectRecord();
    float in[3] = {0.5f, -0.5f, 0.25f};
    float out[3] = {7.0f, 8.0f, 9.0f};
    double wideIn[3] = {0.5, -0.5, 0.25};
    double wideOut[3] = {7.0, 8.0, 9.0};
    float* inputs[2] = {in, in};
    float* outputs[2] = {out, out};
    double* wideInputs[2] = {wideIn, wideIn};
    double* wideOutputs[2] = {wideOut, wideOut};
    record->process(record, inputs, outputs, 3);
    record->processDoubleReplacing(record, wideInputs, wideOutputs, 3);
    EXPECT_EQ((std::array<float, 3>{out[0], out[1], out[2]}), (std::array<float, 3>{7.0f, 8.0f, 9.0f}));
    EXPECT_EQ((std::array<double, 3>{wideOut[0], wideOut[1], wideOut[2]}), (std::array<double, 3>{7.0, 8.0, 9.0}));
    EXPECT_EQ(record->getParameter(record, 0), 0.0f);
}

}  // namespace
