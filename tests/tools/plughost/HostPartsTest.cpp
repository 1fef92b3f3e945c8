// The pieces of the host that need no plug-in: option values, automation
// times, the transport's time record, JSON text, the interface's names and
// the demo signal.
#include "DemoSignal.h"
#include "HostError.h"
#include "InterfaceNames.h"
#include "JsonReader.h"
#include "JsonText.h"
#include "ParameterChanges.h"
#include "Transport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace {

TEST(ParameterChanges, WellFormedTextsGiveIndexTimeAndValue) {
    const ParameterSetting setting = parseParameterSetting("3=0.25");
    EXPECT_EQ(setting.index, 3);
    EXPECT_EQ(setting.value, 0.25f);
    EXPECT_EQ(parseParameterSetting("0=1").value, 1.0f);

    const AutomationPoint point = parseAutomationPoint("12@1.5=0");
    EXPECT_EQ(point.index, 12);
    EXPECT_EQ(point.seconds, 1.5);
    EXPECT_EQ(point.value, 0.0f);
}

TEST(ParameterChanges, MalformedTextsAreBadOptionsNamingTheProblem) {
    const struct {
        const char* text;
        bool automation;
        const char* reason;
    } cases[] = {
        {"3", false, "expected INDEX=VALUE"},
        {"=0.5", false, "parameter index"},
        {"-1=0.5", false, "parameter index"},
        {"x=0.5", false, "parameter index"},
        {"1=", false, "value must be a number"},
        {"1=0.5x", false, "value must be a number"},
        {"1=nan", false, "value must be a number"},
        {"1=1.5", false, "between 0 and 1"},
        {"1=-0.1", false, "between 0 and 1"},
        {"1=0.5", true, "expected INDEX@SECONDS=VALUE"},
        {"1=0.5@2", true, "expected INDEX@SECONDS=VALUE"},
        {"1@=0.5", true, "time must be a number"},
        {"1@-2=0.5", true, "must not be negative"},
        {"1@inf=0.5", true, "time must be a number"},
        {"1@2=2", true, "between 0 and 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            if (c.automation)
                parseAutomationPoint(c.text);
            else
                parseParameterSetting(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const HostError& error) {
            EXPECT_EQ(error.code(), ExitCode::badOption);
            const std::string message = error.what();
            EXPECT_NE(message.find(c.text), std::string::npos) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
    }
}

TEST(ParameterChanges, IndexBeyondThePluginsParametersIsRefused) {
    EXPECT_NO_THROW(checkParameterIndex(7, 8, "--param"));
    try {
        checkParameterIndex(8, 8, "--param");
        ADD_FAILURE() << "accepted";
    } catch (const HostError& error) {
        EXPECT_EQ(error.code(), ExitCode::badOption);
        EXPECT_NE(std::string(error.what()).find("unknown parameter index 8"), std::string::npos);
    }
}

TEST(ParameterChanges, AutomationLandsOnTheNearestFrameInTimeOrder) {
    // 0.3 s × 44100 is 13229.999999999998 in double precision.
    const std::vector<ScheduledChange> changes =
        scheduleAutomation({{1, 0.3, 0.5f}, {2, 0.1, 0.25f}, {3, 0.3, 0.75f}}, 44100.0, 44100);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].frame, 4410);
    EXPECT_EQ(changes[0].index, 2);
    EXPECT_EQ(changes[1].frame, 13230);
    EXPECT_EQ(changes[1].index, 1);  // same frame: the command line's order
    EXPECT_EQ(changes[2].index, 3);
    EXPECT_EQ(changes[2].value, 0.75f);
}

TEST(ParameterChanges, AutomationAtOrBeyondTheEndIsRefused) {
    EXPECT_NO_THROW(scheduleAutomation({{0, 0.999, 0.5f}}, 1000.0, 1000));
    EXPECT_THROW(scheduleAutomation({{0, 1.0, 0.5f}}, 1000.0, 1000), HostError);
    EXPECT_THROW(scheduleAutomation({{0, 0.0, 0.5f}}, 1000.0, 0), HostError);
}

TEST(Transport, PlayingTransportAdvancesWithTheBlocksInFourFour) {
    TransportSettings settings;
    settings.sampleRate = 44100.0;
    settings.tempo = 120.0;
    settings.start = 99225;  // 4.5 quarter notes at 22050 frames per beat
    Transport transport(settings);

    const struct {
        std::int64_t offset;
        double samplePos, ppqPos, barStart;
        bool changed;
    } blocks[] = {
        {0, 99225, 4.5, 4.0, true},
        {512, 99737, 99737.0 / 22050.0, 4.0, false},
        {77175, 176400, 8.0, 8.0, false},
    };
    for (const auto& b : blocks) {
        SCOPED_TRACE(b.offset);
        transport.beginBlock(b.offset);
        const VstTimeInfo* time = transport.timeInfo();
        ASSERT_NE(time, nullptr);
        EXPECT_EQ(time->samplePos, b.samplePos);
        EXPECT_DOUBLE_EQ(time->ppqPos, b.ppqPos);
        EXPECT_EQ(time->barStartPos, b.barStart);
        EXPECT_EQ(time->sampleRate, 44100.0);
        EXPECT_EQ(time->tempo, 120.0);
        EXPECT_EQ(time->timeSigNumerator, 4);
        EXPECT_EQ(time->timeSigDenominator, 4);
        const std::int32_t always = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstBarsValid |
                                    kVstTimeSigValid;
        EXPECT_EQ(time->flags, always | (b.changed ? kVstTransportChanged : 0));
    }
}

TEST(Transport, StoppedTransportStaysWhereItWasPlaced) {
    TransportSettings settings;
    settings.playing = false;
    settings.tempo = 90.0;
    settings.start = 1000;
    Transport transport(settings);
    for (std::int64_t offset : {0, 64, 4096}) {
        transport.beginBlock(offset);
        EXPECT_EQ(transport.timeInfo()->samplePos, 1000.0);
        EXPECT_EQ(transport.timeInfo()->flags & kVstTransportPlaying, 0);
        EXPECT_NE(transport.timeInfo()->flags & kVstTempoValid, 0);
        EXPECT_EQ(transport.timeInfo()->tempo, 90.0);
    }
}

TEST(Transport, WithoutTimeInfoThereIsNoRecord) {
    TransportSettings settings;
    settings.timeInfo = false;
    Transport transport(settings);
    transport.beginBlock(0);
    EXPECT_EQ(transport.timeInfo(), nullptr);
}

TEST(JsonText, StringsAreEscapedAndReadBackAsTheSameCharacters) {
    const struct {
        std::string raw, json, readBack;
    } cases[] = {
        {"plain", "\"plain\"", "plain"},
        {"a \"q\" \\ b", "\"a \\\"q\\\" \\\\ b\"", "a \"q\" \\ b"},
        {"tab\tline\n\x01\x7f", "\"tab\\tline\\n\\u0001\\u007f\"", "tab\tline\n\x01\x7f"},
        {"caf\xc3\xa9", "\"caf\xc3\xa9\"", "caf\xc3\xa9"},        // UTF-8 passes through
        {"caf\xe9", "\"caf\\u00e9\"", "caf\xc3\xa9"},             // a lone byte is Latin-1
        {"\xc3", "\"\\u00c3\"", "\xc3\x83"},                      // a cut-off sequence too
        {"\xe2\x82", "\"\\u00e2\\u0082\"", "\xc3\xa2\xc2\x82"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(jsonString(c.raw), c.json);
        EXPECT_EQ(parseJson(jsonString(c.raw)).text, c.readBack);
    }
}

TEST(JsonText, NumbersReadBackAsTheSameFloat) {
    for (float value : {0.03f, 1.0f / 3.0f, 0.0f, -1e-30f, 123456.789f, std::numeric_limits<float>::denorm_min()}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(static_cast<float>(parseJson(jsonNumber(value)).number), value);
    }
    EXPECT_TRUE(parseJson(jsonNumber(std::nanf(""))).isNull());
    EXPECT_TRUE(parseJson(jsonNumber(std::numeric_limits<float>::infinity())).isNull());
}

TEST(InterfaceNames, NumbersAreNamedAndUnknownOnesShownAsNumbers) {
    EXPECT_EQ(fourCharacterText(fourCharacters('V', 'T', 'U', 'S')), "VTUS");
    EXPECT_EQ(fourCharacterText(0x01414243), ".ABC");
    EXPECT_EQ(fourCharacterText(static_cast<std::int32_t>(0xFF202020u)), ".   ");
    EXPECT_EQ(flagNames(0x31 | (1 << 20)),
              (std::vector<std::string>{"effFlagsHasEditor", "effFlagsCanReplacing", "effFlagsProgramChunks", "bit 20"}));
    EXPECT_TRUE(flagNames(0).empty());
    EXPECT_EQ(categoryName(kPlugCategEffect), "effect");
    EXPECT_EQ(categoryName(99), "category 99");
    EXPECT_EQ(hostOpcodeName(audioMasterGetTime), "audioMasterGetTime");
    EXPECT_EQ(hostOpcodeName(5), "opcode 5");
}

double energy(const std::vector<float>& channel, std::size_t from, std::size_t count) {
    double sum = 0.0;
    for (std::size_t i = from; i < from + count; ++i) sum += static_cast<double>(channel[i]) * channel[i];
    return sum / static_cast<double>(count);
}

TEST(DemoSignal, LastsItsSecondsAtTheRateAndPeaksWhereSaid) {
    for (int rate : {44100, 48000, 96000}) {
        SCOPED_TRACE(rate);
        const StereoSignal demo = makeDemoSignal(rate);
        EXPECT_EQ(demo.sampleRate, rate);
        EXPECT_EQ(demo.frames(), static_cast<std::size_t>(kDemoSeconds * rate));
        float peak = 0.0f;
        for (std::size_t i = 0; i < demo.frames(); ++i)
            peak = std::max({peak, std::fabs(demo.left[i]), std::fabs(demo.right[i])});
        EXPECT_NEAR(peak, kDemoPeak, 1e-6f);
        EXPECT_LT(std::fabs(demo.left.back()) + std::fabs(demo.right.back()), 1e-3f);  // released at the end
    }
}

TEST(DemoSignal, IsTheSameEveryTimeAndDiffersBetweenChannels) {
    const StereoSignal a = makeDemoSignal(44100), b = makeDemoSignal(44100);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
    // After the last hit only the chord sounds, its notes shared out unevenly.
    const std::size_t from = 4 * 44100 + 8820, count = 22050;
    std::vector<float> difference(a.frames());
    for (std::size_t i = 0; i < a.frames(); ++i) difference[i] = a.left[i] - a.right[i];
    EXPECT_GT(energy(difference, from, count), 0.25 * energy(a.left, from, count));
    EXPECT_GT(energy(a.left, from, count), 1e-4);
}

TEST(DemoSignal, EveryBeatStartsWithAHit) {
    const StereoSignal demo = makeDemoSignal(44100);
    const std::size_t window = 441;  // 10 ms
    for (int beat = 1; beat < 8; ++beat) {
        SCOPED_TRACE(beat);
        const auto onset = static_cast<std::size_t>(beat * 22050);
        for (const std::vector<float>* channel : {&demo.left, &demo.right})
            EXPECT_GT(energy(*channel, onset, window), 3.0 * energy(*channel, onset - 2 * window, window));
    }
}

}  // namespace
