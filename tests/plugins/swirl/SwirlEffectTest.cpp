#include "FakeHost.h"
#include "SwirlEffect.h"
#include "TestSignals.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::uint32_t defaultBits = 0x3CF5C28F;
enum { fTrans, fFeedback, fLevel, fDepth, fTime, dLevel, dDepth, dTime };

class SwirlEffectTest : public ::testing::Test {
protected:
    std::intptr_t dispatch(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                           void* ptr = nullptr, float opt = 0.0f) {
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }

    std::vector<unsigned char> chunk(bool isPreset) {
        void* data = nullptr;
        const auto size = static_cast<std::size_t>(dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data));
        const auto* bytes = static_cast<const unsigned char*>(data);
        return {bytes, bytes + size};
    }

    std::intptr_t loadChunk(std::vector<unsigned char> bytes, bool isPreset) {
        return dispatch(effSetChunk, isPreset ? 1 : 0, static_cast<std::intptr_t>(bytes.size()), bytes.data());
    }

    void setParameters(std::initializer_list<std::pair<int, float>> values) {
        for (const auto& [index, value] : values) record->setParameter(record, index, value);
    }

    // Runs both channels through processReplacing in blocks of 256.
    void process(std::vector<float>& left, std::vector<float>& right) {
        for (std::size_t first = 0; first < left.size(); first += 256) {
            const auto frames = static_cast<std::int32_t>(std::min<std::size_t>(256, left.size() - first));
            float* inputs[] = {left.data() + first, right.data() + first};
            record->processReplacing(record, inputs, inputs, frames);
        }
    }

    FakeHost host;
    std::unique_ptr<SwirlEffect> effect = std::make_unique<SwirlEffect>(FakeHost::callback());
    AEffect* record = effect->getEffectRecord();
};

std::string text(const char* buffer) { return buffer; }

TEST_F(SwirlEffectTest, RecordAndStringsIdentifyThePlugin) {
    EXPECT_EQ(record->uniqueID, 0x56545553);  // V T U S
    EXPECT_EQ(record->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->numPrograms, 8);
    EXPECT_EQ(record->numParams, 8);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(dispatch(effGetVendorVersion), 1000);

    const struct {
        std::int32_t opcode;
        const char* expected;
        std::size_t bound;
    } strings[] = {
        {effGetEffectName, "Umber-Swirl", 32},
        {effGetProductString, "Umber-Swirl", 64},
        {effGetVendorString, "Velmora Tonal Works", 64},
    };
    for (const auto& s : strings) {
        char buffer[80];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(dispatch(s.opcode, 0, 0, buffer), 1);
        EXPECT_EQ(text(buffer), s.expected);
        EXPECT_EQ(buffer[s.bound], 0);
        EXPECT_EQ(buffer[s.bound + 1], 'x');
    }
}

TEST_F(SwirlEffectTest, EveryParameterHasItsNameTheSharedTextsAndTheDefault) {
    const char* names[] = {"F_Trans", "F_FB", "F_Level", "F_Depth", "F_Time", "D_Level", "D_Depth", "D_Time"};
    for (int index = 0; index <= 8; ++index) {
        SCOPED_TRACE(index);
        char name[16] = "untouched", label[16], display[16];
        dispatch(effGetParamName, index, 0, name);
        dispatch(effGetParamLabel, index, 0, label);
        dispatch(effGetParamDisplay, index, 0, display);
        EXPECT_EQ(text(name), index < 8 ? names[index] : "untouched");
        EXPECT_EQ(text(label), "Moo");
        EXPECT_EQ(text(display), "A few");
        EXPECT_EQ(dispatch(effCanBeAutomated, index), 1);
        if (index < 8) {
            EXPECT_EQ(std::bit_cast<std::uint32_t>(record->getParameter(record, index)), defaultBits);
        }
    }
}

TEST_F(SwirlEffectTest, IndicesOutsideTheBankTouchNothing) {
    const std::vector<unsigned char> before = chunk(false);
    const std::int32_t outside[] = {-1, 8, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max()};
    for (std::int32_t index : outside) {
        SCOPED_TRACE(index);
        record->setParameter(record, index, 0.5f);
        EXPECT_EQ(record->getParameter(record, index), 0.0f);
        char name[32] = "untouched";
        EXPECT_EQ(dispatch(effGetProgramNameIndexed, index, 0, name), 0);
        EXPECT_EQ(text(name), "untouched");
        dispatch(effSetProgram, 0, index);
        effect->setProgram(index);
        EXPECT_EQ(dispatch(effGetProgram), 0);
    }
    EXPECT_EQ(chunk(false), before);
}

TEST_F(SwirlEffectTest, ParametersAreStoredAsGivenInTheCurrentProgram) {
    const float values[] = {0.75f, -3.0f, 1e30f, std::numeric_limits<float>::infinity()};
    for (float value : values) {
        record->setParameter(record, 3, value);
        EXPECT_EQ(record->getParameter(record, 3), value);
    }
    dispatch(effSetProgram, 0, 7);
    EXPECT_EQ(dispatch(effGetProgram), 7);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(record->getParameter(record, 3)), defaultBits);
    record->setParameter(record, 3, 0.5f);
    dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(record->getParameter(record, 3), std::numeric_limits<float>::infinity());
}

TEST_F(SwirlEffectTest, ProgramNamesAreDefaultAndALongNameKeepsItsFirst24Characters) {
    for (int program = 0; program < 8; ++program) {
        char name[32];
        EXPECT_EQ(dispatch(effGetProgramNameIndexed, program, 0, name), 1);
        EXPECT_EQ(text(name), "DEFAULT");
    }
    dispatch(effSetProgram, 0, 2);
    char longName[] = "abcdefghijklmnopqrstuvwxyz0123";  // 30 characters
    dispatch(effSetProgramName, 0, 0, longName);
    char name[32];
    std::memset(name, 'x', sizeof name);
    dispatch(effGetProgramName, 0, 0, name);
    EXPECT_EQ(text(name), "abcdefghijklmnopqrstuvwx");
    EXPECT_EQ(std::bit_cast<std::uint32_t>(record->getParameter(record, 0)), defaultBits);

    const std::vector<unsigned char> bank = chunk(false);
    EXPECT_EQ(0, std::memcmp(bank.data() + 2 * 56, "abcdefghijklmnopqrstuvwx", 24));
    std::uint32_t firstValue;
    std::memcpy(&firstValue, bank.data() + 2 * 56 + 24, 4);
    EXPECT_EQ(firstValue, defaultBits);
}

TEST_F(SwirlEffectTest, FreshBankChunkHoldsEightDefaultRecords) {
    const std::vector<unsigned char> bank = chunk(false);
    ASSERT_EQ(bank.size(), 448u);
    for (int program = 0; program < 8; ++program) {
        const unsigned char* recordBytes = bank.data() + program * 56;
        EXPECT_EQ(0, std::memcmp(recordBytes, "DEFAULT", 7));
        for (int byte = 7; byte < 24; ++byte) EXPECT_EQ(recordBytes[byte], 0) << program << " " << byte;
        for (int param = 0; param < 8; ++param) {
            std::uint32_t bits;
            std::memcpy(&bits, recordBytes + 24 + 4 * param, 4);
            EXPECT_EQ(bits, defaultBits);
        }
    }
    EXPECT_EQ(chunk(true), std::vector<unsigned char>(bank.begin() + 24, bank.begin() + 56));
}

// A bank whose bytes all differ from a fresh one's: names "P0" … "P7", values n + i / 10.
std::vector<unsigned char> distinctBank() {
    std::vector<unsigned char> bank(448, 0);
    for (int n = 0; n < 8; ++n) {
        bank[n * 56] = 'P';
        bank[n * 56 + 1] = static_cast<unsigned char>('0' + n);
        for (int i = 0; i < 8; ++i) {
            const float value = static_cast<float>(n) + static_cast<float>(i) / 10.0f;
            std::memcpy(bank.data() + n * 56 + 24 + 4 * i, &value, 4);
        }
    }
    return bank;
}

TEST_F(SwirlEffectTest, ChunksLoadByTheirSizeAndReadBackByteForByte) {
    dispatch(effSetProgram, 0, 3);
    const std::vector<unsigned char> fresh = chunk(false);
    const std::vector<unsigned char> bank = distinctBank();
    std::vector<unsigned char> program(32);
    for (int i = 0; i < 8; ++i) {
        const float value = -1.0f - static_cast<float>(i);
        std::memcpy(program.data() + 4 * i, &value, 4);
    }

    // A program chunk replaces only the current program's values.
    EXPECT_EQ(loadChunk(program, true), 32);
    EXPECT_EQ(chunk(true), program);
    std::vector<unsigned char> expected = fresh;
    std::copy(program.begin(), program.end(), expected.begin() + 3 * 56 + 24);
    EXPECT_EQ(chunk(false), expected);

    // A bank chunk replaces everything, as a bank or as a preset; the program stays current.
    for (bool isPreset : {false, true}) {
        SCOPED_TRACE(isPreset);
        EXPECT_EQ(loadChunk(fresh, false), 448);
        EXPECT_EQ(loadChunk(bank, isPreset), 448);
        EXPECT_EQ(chunk(false), bank);
        EXPECT_EQ(dispatch(effGetProgram), 3);
        EXPECT_EQ(record->getParameter(record, 1), 3.1f);
    }

    // The host may hand back the very pointer getChunk gave it.
    void* own = nullptr;
    const std::intptr_t size = dispatch(effGetChunk, 0, 0, &own);
    EXPECT_EQ(dispatch(effSetChunk, 0, size, own), 448);
    EXPECT_EQ(chunk(false), bank);
}

TEST_F(SwirlEffectTest, ChunksOfOtherSizesAreRefusedAfterAskingTheHostToUpdate) {
    const std::vector<unsigned char> before = chunk(false);
    const struct {
        std::size_t size;
        bool isPreset;
    } refused[] = {{447, false}, {449, false}, {447, true}, {449, true}, {32, false}, {33, true}};
    for (const auto& r : refused) {
        SCOPED_TRACE(r.size);
        const std::size_t updatesBefore = host.callsOf(audioMasterUpdateDisplay).size();
        EXPECT_EQ(loadChunk(std::vector<unsigned char>(r.size, 0x55), r.isPreset), 0);
        EXPECT_EQ(host.callsOf(audioMasterUpdateDisplay).size(), updatesBefore + 1);
        EXPECT_EQ(host.callsOf(audioMasterUpdateDisplay).back().effect, record);
    }
    EXPECT_EQ(effect->setChunk(nullptr, 448, false), 0);
    EXPECT_EQ(effect->getChunk(nullptr, false), 0);
    EXPECT_EQ(chunk(false), before);
}

TEST_F(SwirlEffectTest, CanDoMatchesWholeTextsOnly) {
    const struct {
        const char* text;
        std::intptr_t answer;
    } cases[] = {
        {"receiveVstEvents", 1},   {"receiveVstMidiEvent", -1}, {"receiveVstTimeInfo", 1},
        {"receiveVstTimeInf", -1}, {"receiveVstTimeInfos", -1}, {"", -1},
        {"sendVstEvents", -1},
    };
    for (const auto& c : cases) {
        std::string copy = c.text;
        EXPECT_EQ(dispatch(effCanDo, 0, 0, copy.data()), c.answer) << c.text;
    }
}

TEST_F(SwirlEffectTest, At48000HertzTheTapsSit557PositionsAheadOfTheWritePosition) {
    dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    setParameters({{fFeedback, 0.0f}, {fLevel, 1.0f}, {fDepth, 0.0f}, {dLevel, 0.0f}});
    const std::vector<float> input = noise(2000, 41);
    std::vector<float> left = input, right = input;
    process(left, right);
    // 557 positions ahead in a ring of 1024: the signal from 467 samples ago.
    for (std::size_t n = 0; n < input.size(); ++n) ASSERT_EQ(left[n], input[n] + (n < 467 ? 0.0f : input[n - 467])) << n;
}

TEST_F(SwirlEffectTest, EveryBlockAsksTheHostForTempoAndTransport) {
    VstTimeInfo info{};
    info.tempo = 120.0;
    info.samplePos = 100000.0;
    info.flags = kVstTransportPlaying;
    host.answer(audioMasterGetTime, reinterpret_cast<std::intptr_t>(&info));
    std::vector<float> left(600), right(600);
    process(left, right);
    const std::vector<HostCall> calls = host.callsOf(audioMasterGetTime);
    ASSERT_EQ(calls.size(), 3u);
    for (const HostCall& call : calls) {
        EXPECT_EQ(call.value, kVstTempoValid);
        EXPECT_EQ(call.effect, record);
    }
}

TEST_F(SwirlEffectTest, BothLevelsAtZeroPassTheInputAndLeaveTheProcessorsWhereTheyWere) {
    // Without depth, the output depends only on the processors' own state.
    const std::initializer_list<std::pair<int, float>> running = {
        {fFeedback, 0.5f}, {fLevel, 1.0f}, {fDepth, 0.0f}, {dLevel, 1.0f}, {dDepth, 0.0f}};
    const std::vector<float> first = noise(3000, 42), second = noise(3000, 43);

    setParameters({{fLevel, 0.0f}, {dLevel, 0.0f}});
    std::vector<float> left = first, right = second;
    process(left, right);
    EXPECT_EQ(left, first);
    EXPECT_EQ(right, second);
    setParameters(running);
    process(left, right);

    SwirlEffect untouched{FakeHost::callback()};
    AEffect* other = untouched.getEffectRecord();
    for (const auto& [index, value] : running) other->setParameter(other, index, value);
    std::vector<float> expectedLeft = first, expectedRight = second;
    for (std::size_t start = 0; start < expectedLeft.size(); start += 256) {
        const auto frames = static_cast<std::int32_t>(std::min<std::size_t>(256, expectedLeft.size() - start));
        float* buffers[] = {expectedLeft.data() + start, expectedRight.data() + start};
        other->processReplacing(other, buffers, buffers, frames);
    }
    EXPECT_EQ(left, expectedLeft);
    EXPECT_EQ(right, expectedRight);
}

TEST_F(SwirlEffectTest, BlocksWithoutUsableFramesOrBuffersCopyNothing) {
    std::vector<float> in(8, 1.0f), out(8, -2.0f);
    float* inputs[] = {in.data(), in.data()};
    float* outputs[] = {out.data(), out.data()};
    float* missing[] = {in.data(), nullptr};
    const struct {
        float** inputs;
        float** outputs;
        std::int32_t frames;
    } cases[] = {{inputs, outputs, -1},  {nullptr, outputs, 8}, {inputs, nullptr, 8},
                 {missing, outputs, 8}, {inputs, missing, 8}};
    for (const auto& c : cases) {
        record->processReplacing(record, c.inputs, c.outputs, c.frames);
        EXPECT_EQ(out, std::vector<float>(8, -2.0f));
    }
}

TEST_F(SwirlEffectTest, ANonFiniteInputSampleIsGoneWithinOneRingLength) {
    setParameters({{fTrans, 1.0f}, {fFeedback, 1.0f}, {fLevel, 1.0f}, {fDepth, 1.0f}, {fTime, 1.0f},
                   {dLevel, 1.0f}, {dDepth, 1.0f}, {dTime, 1.0f}});
    std::vector<float> left = noise(6000, 44), right = noise(6000, 45);
    left[1000] = std::numeric_limits<float>::quiet_NaN();
    right[1500] = std::numeric_limits<float>::infinity();
    process(left, right);
    EXPECT_FALSE(std::isfinite(left[1000]));
    for (std::size_t n = 1000 + 1024; n < left.size(); ++n) ASSERT_TRUE(std::isfinite(left[n])) << n;
    for (std::size_t n = 1500 + 1024; n < right.size(); ++n) ASSERT_TRUE(std::isfinite(right[n])) << n;
}

TEST_F(SwirlEffectTest, HostThreadChangesValuesWhileBlocksRun) {
    // Meaningful above all under the thread sanitizer: every value both
    // threads touch must be accessed atomically.
    std::vector<unsigned char> bank = distinctBank();
    for (std::size_t offset = 24; offset < bank.size(); offset += 56) {
        for (int i = 0; i < 8; ++i) {
            const float value = 0.125f * static_cast<float>(i % 8);
            std::memcpy(bank.data() + offset + 4 * i, &value, 4);
        }
    }
    std::thread host([&] {
        for (int round = 0; round < 200; ++round) {
            record->setParameter(record, round % 8, static_cast<float>(round % 5) * 0.25f);
            dispatch(effSetProgram, 0, round % 8);
            dispatch(effSetSampleRate, 0, 0, nullptr, round % 2 == 0 ? 48000.0f : 44100.0f);
            if (round % 10 == 0) loadChunk(bank, false);
            if (round % 10 == 5) loadChunk(std::vector<unsigned char>(bank.begin() + 24, bank.begin() + 56), true);
            EXPECT_LE(record->getParameter(record, round % 8), 1.0f);
        }
    });
    std::vector<float> left = noise(50000, 46), right = noise(50000, 47);
    process(left, right);
    host.join();
    for (std::size_t n = 0; n < left.size(); ++n) {
        ASSERT_TRUE(std::isfinite(left[n])) << n;
        ASSERT_TRUE(std::isfinite(right[n])) << n;
    }
}

}  // namespace
