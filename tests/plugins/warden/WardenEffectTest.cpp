#include "WardenEffectFixture.h"

#include <atomic>
#include <climits>
#include <cmath>
#include <limits>
#include <thread>

namespace {

using warden::kParameters;
using WardenEffectTest = WardenEffectFixture;

TEST_F(WardenEffectTest, RecordCarriesTheIdentity) {
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->uniqueID, 0x56544C49);  // 'V' 'T' 'L' 'I'
    EXPECT_EQ(record->numPrograms, 1);
    EXPECT_EQ(record->numParams, 4);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, effFlagsCanReplacing | effFlagsHasEditor);  // a panel, no program chunks
    EXPECT_EQ(record->version, 1);

    struct Case {
        std::int32_t opcode;
        const char* text;
    };
    const Case texts[] = {
        {effGetEffectName, "Stern Warden"},
        {effGetProductString, "Stern Warden"},
        {effGetVendorString, "Velmora Tonal Works"},
    };
    for (const Case& c : texts) {
        std::intptr_t answer = 0;
        EXPECT_EQ(textOf(c.opcode, 0, &answer), c.text) << c.opcode;
        EXPECT_EQ(answer, 1) << c.opcode;
    }
    EXPECT_EQ(dispatch(effGetVendorVersion), 1000);
    EXPECT_EQ(dispatch(effGetPlugCategory), 0);
    EXPECT_EQ(dispatch(effGetProgram), 0);
}

TEST_F(WardenEffectTest, ParameterTextsAreTheSameForEveryValue) {
    struct Case {
        std::int32_t index;
        const char* name;  // null: the buffer keeps its content
    };
    const Case cases[] = {{0, "Thresh"}, {1, "Attack"}, {2, "Release"}, {3, nullptr}, {4, nullptr}, {-1, nullptr}};
    const std::string untouched(127, 'x');
    for (const float value : {0.0f, 0.37f, 1.0f}) {
        for (std::int32_t index = 0; index < 4; ++index) setParameter(index, value);
        for (const Case& c : cases) {
            EXPECT_EQ(textOf(effGetParamName, c.index), c.name != nullptr ? c.name : untouched) << c.index;
            EXPECT_EQ(textOf(effGetParamLabel, c.index), "Moo") << c.index;
            EXPECT_EQ(textOf(effGetParamDisplay, c.index), "A few") << c.index;
            EXPECT_EQ(dispatch(effCanBeAutomated, c.index), 1) << c.index;
        }
    }
}

TEST_F(WardenEffectTest, TheOneProgramKeepsANameOfAtMost24Characters) {
    EXPECT_EQ(textOf(effGetProgramName), "Default");
    for (const std::intptr_t category : {0, 3}) {
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(dispatch(effGetProgramNameIndexed, 5, category, buffer), 1);
        EXPECT_STREQ(buffer, "Default");
    }

    char longName[] = "A name well beyond twenty-four characters";
    dispatch(effSetProgramName, 0, 0, longName);
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    dispatch(effGetProgramName, 0, 0, buffer);
    EXPECT_EQ(std::string(buffer), std::string(longName, 24));
    EXPECT_EQ(buffer[25], 'x');  // nothing written past the terminator

    dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(dispatch(effGetProgram), 0);
    dispatch(effSetProgram, 0, 1);  // beyond the single program: ignored
    EXPECT_EQ(dispatch(effGetProgram), 0);
}

TEST_F(WardenEffectTest, CanDoMatchesWholeTextsExactly) {
    struct Case {
        const char* text;
        std::intptr_t answer;
    };
    const Case cases[] = {
        {"receiveVstEvents", 1},     {"receiveVstTimeInfo", 1},  {"receiveVstMidiEvent", -1},
        {"ReceiveVstEvents", -1},    {"receivevsttimeinfo", -1}, {"receiveVstEvent", -1},
        {"receiveVstEventsX", -1},   {"receiveVstTimeInfo ", -1}, {"", -1},
        {"plugAsChannelInsert", -1},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(dispatch(effCanDo, 0, 0, text.data()), c.answer) << '"' << c.text << '"';
    }
}

TEST_F(WardenEffectTest, CreationSetsTheCoreFromTheDefaults) {
    EXPECT_EQ(getParameter(0), 0.6f);
    EXPECT_EQ(getParameter(1), 0.15f);
    EXPECT_EQ(getParameter(2), 0.5f);
    EXPECT_EQ(getParameter(3), 0.0f);
    const CompressorCore& core = effect->compressor();
    EXPECT_EQ(core.threshold(), 0.398107201f);    // -8 dB
    EXPECT_EQ(core.makeup(), 2.51188636f);        // +8 dB
    EXPECT_EQ(core.attackCoef(), 0.998583794f);   // 16 ms at 44100 Hz
    EXPECT_EQ(core.releaseCoef(), 0.99995476f);   // 501 ms
    EXPECT_EQ(core.gain(), 0.0f);
}

TEST_F(WardenEffectTest, EachParameterReachesItsOwnPartOfTheCore) {
    struct Settings {
        float threshold, makeup, attack, release;
    };
    auto settings = [this] {
        const CompressorCore& core = effect->compressor();
        return Settings{core.threshold(), core.makeup(), core.attackCoef(), core.releaseCoef()};
    };
    const Settings defaults = settings();
    struct Case {
        std::int32_t index;
        Settings expected;
    };
    // 0.25: -15 dB, 26 ms attack, 251 ms release at 44100 Hz.
    const Case cases[] = {
        {0, {0.177827939f, 5.62341309f, defaults.attack, defaults.release}},
        {1, {defaults.threshold, defaults.makeup, 0.999128222f, defaults.release}},
        {2, {defaults.threshold, defaults.makeup, defaults.attack, 0.999909639f}},
        {3, defaults},  // the meter is never heard
    };
    for (const Case& c : cases) {
        setParameter(c.index, 0.25f);
        EXPECT_EQ(getParameter(c.index), 0.25f);
        const Settings now = settings();
        EXPECT_EQ(now.threshold, c.expected.threshold) << c.index;
        EXPECT_EQ(now.makeup, c.expected.makeup) << c.index;
        EXPECT_EQ(now.attack, c.expected.attack) << c.index;
        EXPECT_EQ(now.release, c.expected.release) << c.index;
        setParameter(c.index, kParameters[c.index].defaultValue);
    }
}

TEST_F(WardenEffectTest, IndicesOutsideTheFourTouchNothing) {
    for (const std::int32_t index : {-1, 4, 5, 1000, INT_MIN, INT_MAX}) {
        setParameter(index, 0.9f);
        EXPECT_EQ(getParameter(index), 0.0f) << index;
    }
    void* chunk = nullptr;
    ASSERT_EQ(dispatch(effGetChunk, 0, 0, &chunk), 16);
    const float* values = static_cast<const float*>(chunk);
    EXPECT_EQ(values[0], 0.6f);
    EXPECT_EQ(values[1], 0.15f);
    EXPECT_EQ(values[2], 0.5f);
    EXPECT_EQ(values[3], 0.0f);
}

TEST_F(WardenEffectTest, ChunkIsTheLiveParameterValues) {
    for (const std::int32_t isPreset : {0, 1}) {
        void* chunk = nullptr;
        EXPECT_EQ(dispatch(effGetChunk, isPreset, 0, &chunk), 16);
        ASSERT_NE(chunk, nullptr);
        setParameter(1, 0.875f);
        setParameter(3, 0.25f);
        // Little-endian singles in index order, read as the host reads them.
        const auto* bytes = static_cast<const unsigned char*>(chunk);
        const float expected[4] = {0.6f, 0.875f, 0.5f, 0.25f};
        for (int i = 0; i < 4; ++i) {
            std::uint32_t bits = 0;
            for (int b = 3; b >= 0; --b) bits = (bits << 8) | bytes[4 * i + b];
            float value;
            std::memcpy(&value, &bits, sizeof value);
            EXPECT_EQ(value, expected[i]) << "value " << i;
        }
        setParameter(1, 0.15f);
        setParameter(3, 0.0f);
    }
}

TEST_F(WardenEffectTest, SetChunkLoadsWholeValuesFromTheStart) {
    struct Case {
        std::int32_t byteSize;
        std::intptr_t answer;
        float expected[4];
    };
    const float defaults[4] = {0.6f, 0.15f, 0.5f, 0.0f};
    const float loaded[5] = {0.9f, 0.1f, 0.8f, 0.3f, 0.7f};
    const Case cases[] = {
        {16, 16, {0.9f, 0.1f, 0.8f, 0.3f}},    // the meter value too
        {8, 8, {0.9f, 0.1f, 0.5f, 0.0f}},
        {20, 16, {0.9f, 0.1f, 0.8f, 0.3f}},    // only the first 16 bytes
        {6, 4, {0.9f, 0.15f, 0.5f, 0.0f}},     // no half values
        {3, 0, {0.6f, 0.15f, 0.5f, 0.0f}},
        {0, 0, {0.6f, 0.15f, 0.5f, 0.0f}},
        {-16, 0, {0.6f, 0.15f, 0.5f, 0.0f}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 4; ++i) setParameter(i, defaults[i]);
        // Bytes at an odd address, as a host's buffer may be.
        unsigned char bytes[1 + sizeof loaded];
        std::memcpy(bytes + 1, loaded, sizeof loaded);
        EXPECT_EQ(dispatch(effSetChunk, c.byteSize & 1, c.byteSize, bytes + 1), c.answer) << c.byteSize;
        for (int i = 0; i < 4; ++i) EXPECT_EQ(getParameter(i), c.expected[i]) << c.byteSize << " bytes, value " << i;
    }
    EXPECT_EQ(effect->setChunk(nullptr, 16, false), 0);
    EXPECT_EQ(getParameter(0), 0.6f);
}

TEST_F(WardenEffectTest, SetChunkRecomputesTheCoreAtOnce) {
    const float values[4] = {1.0f, 0.0f, 1.0f, 0.5f};
    ASSERT_EQ(dispatch(effSetChunk, 0, 16, const_cast<float*>(values)), 16);
    const CompressorCore& core = effect->compressor();
    EXPECT_EQ(core.threshold(), 1.0f);
    EXPECT_EQ(core.makeup(), 1.0f);
    EXPECT_EQ(core.attackCoef(), 0.977579415f);   // 1 ms
    EXPECT_EQ(core.releaseCoef(), 0.99997735f);   // 1001 ms
    EXPECT_EQ(getParameter(3), 0.5f);
}

TEST_F(WardenEffectTest, SampleRateRecomputesTheCoreButKeepsTheGain) {
    std::vector<float> left(300, 0.0f), right(300, 0.0f);
    render(left, right, 300);
    const float gain = effect->compressor().gain();
    ASSERT_GT(gain, 0.0f);

    dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    const CompressorCore& core = effect->compressor();
    EXPECT_EQ(effect->getSampleRate(), 48000.0f);
    EXPECT_EQ(core.sampleRate(), 48000.0f);
    EXPECT_EQ(core.threshold(), 0.398107201f);
    EXPECT_EQ(core.attackCoef(), 0.998698771f);   // 16 ms at 48000 Hz
    EXPECT_EQ(core.releaseCoef(), 0.999958396f);  // 501 ms
    EXPECT_EQ(core.gain(), gain);
}

TEST_F(WardenEffectTest, UnusableBlocksCopyAndProcessNothing) {
    std::vector<float> in(8, 0.5f), out(8, -0.25f);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {out.data(), out.data()};
    float* missing[2] = {in.data(), nullptr};
    struct Case {
        const char* what;
        float** inputs;
        float** outputs;
        std::int32_t frames;
    };
    const Case cases[] = {
        {"no frames", inputs, outputs, 0},
        {"negative frames", inputs, outputs, -8},
        {"most negative frames", inputs, outputs, INT_MIN},
        {"no input array", nullptr, outputs, 8},
        {"no output array", inputs, nullptr, 8},
        {"a missing input channel", missing, outputs, 8},
        {"a missing output channel", inputs, missing, 8},
    };
    for (const Case& c : cases) {
        record->processReplacing(record, c.inputs, c.outputs, c.frames);
        for (const float sample : out) EXPECT_EQ(sample, -0.25f) << c.what;
        EXPECT_EQ(effect->compressor().gain(), 0.0f) << c.what;
    }
}

TEST_F(WardenEffectTest, InPlaceBuffersGiveTheSameOutput) {
    std::vector<float> left(700), right(700);
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = 0.9f * std::sin(0.03f * static_cast<float>(i));
        right[i] = 0.5f * std::cos(0.05f * static_cast<float>(i));
    }
    std::vector<float> apartLeft = left, apartRight = right;
    render(apartLeft, apartRight, 700);

    auto* other = static_cast<WardenEffect*>(createEffect(FakeHost::callback()));
    AEffect* otherRecord = other->getEffectRecord();
    float* buffers[2] = {left.data(), right.data()};
    otherRecord->processReplacing(otherRecord, buffers, buffers, 700);
    otherRecord->dispatcher(otherRecord, effClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(left, apartLeft);
    EXPECT_EQ(right, apartRight);
}

// A host thread changes parameters and loads chunks while the audio thread
// renders; the thread-sanitizer build reports any value shared without atomics.
TEST_F(WardenEffectTest, ParameterChangesDuringAudioStayWhole) {
    std::atomic<bool> done{false};
    std::thread host([&] {
        for (int round = 0; !done.load() && round < 20000; ++round) {
            record->setParameter(record, round % 3, static_cast<float>(round % 11) / 10.0f);
            if (round % 97 == 0) {
                const float values[4] = {0.2f, 0.3f, 0.4f, 0.0f};
                dispatch(effSetChunk, 0, 16, const_cast<float*>(values));
            }
        }
    });
    std::vector<float> left(64), right(64);
    for (int block = 0; block < 400; ++block) {
        for (std::size_t i = 0; i < left.size(); ++i) left[i] = right[i] = (i % 2 == 0 ? 1.5f : -1.5f);
        render(left, right, 64);
        for (std::size_t i = 0; i < left.size(); ++i) {
            ASSERT_LE(std::fabs(left[i]), 1.0f);
            ASSERT_LE(std::fabs(right[i]), 1.0f);
        }
        ASSERT_GE(getParameter(0), 0.0f);
    }
    done.store(true);
    host.join();
}

}  // namespace

namespace {

// The meter runs only while an editor is open. The frame's plain editor is
// enough to open one; it draws nothing.
class WardenMeterTest : public WardenEffectFixture {
protected:
    WardenMeterTest() {
        // The effect's own panel makes way; attaching does not delete it.
        delete effect->getEditor();
        effect->setEditor(new EditorBase(effect));
    }

    void openEditor() {
        int parent = 0;
        dispatch(effEditOpen, 0, 0, &parent);
    }

    /// Renders silence, which lifts the gain from 0 with the 501 ms release.
    float renderSilence(std::size_t frames) {
        std::vector<float> left(frames, 0.0f), right(frames, 0.0f);
        render(left, right, frames);
        return effect->compressor().gain();
    }
};

TEST_F(WardenMeterTest, StaysStillWhileTheEditorIsClosed) {
    EXPECT_EQ(record->flags, effFlagsCanReplacing | effFlagsHasEditor);
    EXPECT_GT(renderSilence(6000), 0.2f);
    EXPECT_EQ(getParameter(3), 0.0f);

    openEditor();
    dispatch(effEditClose);
    EXPECT_GT(renderSilence(6000), 0.3f);
    EXPECT_EQ(getParameter(3), 0.0f);
}

TEST_F(WardenMeterTest, FollowsTheGainOnlyWhenItsTenthChanges) {
    openEditor();
    // About 2330 samples bring the gain to its first tenth.
    EXPECT_LT(renderSilence(512), 0.1f);
    EXPECT_EQ(getParameter(3), 0.0f);

    const float crossed = renderSilence(2048);
    ASSERT_GE(crossed, 0.1f);
    ASSERT_LT(crossed, 0.2f);
    EXPECT_EQ(getParameter(3), crossed);

    EXPECT_LT(renderSilence(256), 0.2f);
    EXPECT_EQ(getParameter(3), crossed);  // the same tenth: no update

    // A value the host sets stays until the gain's tenth differs from its own.
    setParameter(3, 0.15f);
    renderSilence(64);
    EXPECT_EQ(getParameter(3), 0.15f);
    setParameter(3, 0.75f);
    const float now = renderSilence(64);
    EXPECT_EQ(getParameter(3), now);

    // An empty block still updates the meter with the current gain.
    setParameter(3, 0.9f);
    float* none[2] = {nullptr, nullptr};
    record->processReplacing(record, none, none, 0);
    EXPECT_EQ(getParameter(3), now);
}

TEST_F(WardenMeterTest, LoudAudioShowsTheReductionAsALowGain) {
    openEditor();
    renderSilence(44100);
    const float recovered = getParameter(3);
    EXPECT_GT(recovered, 0.5f);
    std::vector<float> left(4410, 1.0f), right(4410, -1.0f);
    render(left, right, 441);
    // Target 0.398 (threshold over level 1.0), reached with the 16 ms attack.
    EXPECT_NEAR(getParameter(3), 0.398f, 0.1f);
    EXPECT_LT(getParameter(3), 0.5f);
}

}  // namespace
