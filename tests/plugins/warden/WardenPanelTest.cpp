// The Warden panel as its effect creates and drives it: the controls' layout,
// the values they show, the reduction meter on every path that sets it, the
// meter following the audio while open, a knob drag reaching the host, and
// the panel without one of its pictures.
#include "CompressorCore.h"
#include "Knob.h"
#include "PluginPanel.h"
#include "ReductionLed.h"
#include "WardenEffect.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int panelWidth = 416;
constexpr int panelHeight = 82;
constexpr int knobSize = 26;
constexpr int ledCount = 9;
constexpr int ledSize = 8;
constexpr int meterX = 156;
constexpr int meterY = 41;
constexpr std::uint32_t flatGrey = gui::pixelOf(RGB(150, 150, 150));

/// Knob x positions for threshold, attack and release; every knob at y 28.
constexpr int knobX[3] = {28, 69, 110};
constexpr int knobY = 28;

/// LED thresholds from the left end of the bar.
constexpr float ledThresholds[ledCount] = {0.9f, 0.8f, 0.7f, 0.6f, 0.5f, 0.4f, 0.3f, 0.2f, 0.1f};

std::string pictureLibrary(const std::string& name) { return PICTURE_LIBRARY_DIR + name + PICTURE_LIBRARY_SUFFIX; }

/// The bar as shown, left to right: 'o' for a lit LED (green), '-' for an unlit one.
std::string meterShown(const gui::Pixels& shown) {
    std::string bar;
    for (int led = 0; led < ledCount; ++led) {
        const std::uint32_t centre = shown.at(meterX + ledSize * led + 3, meterY + 3);
        const int red = static_cast<int>((centre >> 16) & 0xFF);
        const int green = static_cast<int>((centre >> 8) & 0xFF);
        bar += green > red + 64 ? 'o' : '-';
    }
    return bar;
}

bool insideSomeControl(int x, int y) {
    for (const int kx : knobX)
        if (x >= kx && x < kx + knobSize && y >= knobY && y < knobY + knobSize) return true;
    return x >= meterX && x < meterX + ledCount * ledSize && y >= meterY && y < meterY + ledSize;
}

/// A Warden effect whose panel finds its pictures in the named library.
class WardenPanel : public PluginPanel<WardenEffect> {
public:
    explicit WardenPanel(const std::string& library = "Warden")
        : PluginPanel(pictureLibrary(library), panelWidth, panelHeight) {}

    ReductionLed* led(int index) const { return control<ReductionLed>(static_cast<std::size_t>(index)); }
    Knob* knob(int parameter) const { return control<Knob>(static_cast<std::size_t>(ledCount + parameter)); }

    /// The bar as its LEDs hold it, in the same notation as meterShown.
    std::string meterHeld() const {
        std::string bar;
        for (int index = 0; index < ledCount; ++index) bar += led(index)->value >= led(index)->threshold ? 'o' : '-';
        return bar;
    }

    /// Runs silence through the effect, which lifts the gain from 0 with the
    /// 501 ms release; answers the gain after the last block.
    float renderSilence(std::size_t frames) {
        std::vector<float> left(frames, 0.0f), right(frames, 0.0f);
        for (std::size_t start = 0; start < frames; start += 256) {
            const auto n = static_cast<std::int32_t>(std::min<std::size_t>(256, frames - start));
            float* buffers[2] = {left.data() + start, right.data() + start};
            record->processReplacing(record, buffers, buffers, n);
        }
        return effect->compressor().gain();
    }

    /// renderSilence on a thread of its own, as a host's audio thread runs.
    float renderSilenceOnAudioThread(std::size_t frames) {
        float gain = 0.0f;
        std::thread([&] { gain = renderSilence(frames); }).join();
        return gain;
    }
};

class WardenPanelTest : public testing::Test {
protected:
    WardenPanel warden;
};

TEST_F(WardenPanelTest, TheHostIsOfferedAPanelOf416By82) {
    EXPECT_EQ(warden.record->flags & effFlagsHasEditor, effFlagsHasEditor);
    ERect* rect = nullptr;
    ASSERT_EQ(warden.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, panelHeight);
    EXPECT_EQ(rect->right, panelWidth);
}

TEST_F(WardenPanelTest, NineMeterLedsThenThreeKnobs) {
    ASSERT_EQ(warden.controls().size(), static_cast<std::size_t>(ledCount + 3));
    for (int index = 0; index < ledCount; ++index) {
        SCOPED_TRACE("LED " + std::to_string(index));
        const ReductionLed* led = warden.led(index);
        ASSERT_NE(led, nullptr);
        EXPECT_EQ(led->x, meterX + ledSize * index);
        EXPECT_EQ(led->y, meterY);
        EXPECT_EQ(led->width, ledSize);
        EXPECT_EQ(led->height, ledSize);
        EXPECT_EQ(led->threshold, ledThresholds[index]);
        EXPECT_EQ(led->frameOffset, ledSize);
        EXPECT_EQ(led->paramIndex, 3);
        EXPECT_EQ(led->owner, &warden.panel());
        EXPECT_TRUE(led->automated);
        EXPECT_NE(led->bitmap, nullptr);
        EXPECT_EQ(led->bitmap, warden.led(0)->bitmap);
    }
    for (int parameter = 0; parameter < 3; ++parameter) {
        SCOPED_TRACE("knob " + std::to_string(parameter));
        const Knob* knob = warden.knob(parameter);
        ASSERT_NE(knob, nullptr);
        EXPECT_EQ(knob->x, knobX[parameter]);
        EXPECT_EQ(knob->y, knobY);
        EXPECT_EQ(knob->width, knobSize);
        EXPECT_EQ(knob->height, knobSize);
        EXPECT_EQ(knob->paramIndex, parameter);
        EXPECT_EQ(knob->owner, &warden.panel());
        EXPECT_TRUE(knob->automated);
        EXPECT_FALSE(knob->notifyOnRelease);
        EXPECT_EQ(knob->frameCount, 64);
        EXPECT_EQ(knob->frameHeight, knobSize);
        EXPECT_EQ(knob->detentWidth, 0.0f);
        EXPECT_EQ(knob->detentValue, 0.0f);
        EXPECT_NE(knob->strip, nullptr);
        EXPECT_NE(knob->mask, nullptr);
        EXPECT_EQ(knob->strip, warden.knob(0)->strip);
        EXPECT_EQ(knob->mask, warden.knob(0)->mask);
    }
}

TEST_F(WardenPanelTest, AFreshEffectShowsItsDefaultsAndFullReduction) {
    const float knobs[3] = {0.6f, 0.15f, 0.5f};
    for (int parameter = 0; parameter < 3; ++parameter)
        EXPECT_EQ(warden.knob(parameter)->getValue(), knobs[parameter]) << "knob " << parameter;
    // The stored gain starts at 0, as the compressor's own gain does: the
    // whole bar is lit, and recedes as the output fades in.
    EXPECT_EQ(warden.getParameter(3), 0.0f);
    EXPECT_EQ(warden.meterHeld(), "ooooooooo");
    warden.openAndPaint();
    EXPECT_EQ(meterShown(warden.pixels()), "ooooooooo");
}

TEST_F(WardenPanelTest, AHostsMeterValueLightsTheBarByItsReduction) {
    const struct {
        float gain;
        const char* bar;
    } cases[] = {
        {1.0f, "---------"},   // no reduction
        {0.75f, "-------oo"},  // 0.25: the two rightmost
        {0.05f, "ooooooooo"},  // 0.95: all nine
        {0.9f, "--------o"},   // 0.1 reaches the last threshold
        {0.5f, "----ooooo"},
    };
    warden.openAndPaint();
    for (const auto& c : cases) {
        SCOPED_TRACE("gain " + std::to_string(c.gain));
        warden.setParameter(3, c.gain);
        EXPECT_EQ(warden.getParameter(3), c.gain);
        EXPECT_EQ(warden.meterHeld(), c.bar);
        // Drawn at once, on the window's own thread.
        EXPECT_EQ(meterShown(warden.pixels()), c.bar);
    }
}

TEST_F(WardenPanelTest, ReloadedMeterValuesShowTheirReductionToo) {
    warden.openAndPaint();
    // A chunk loads the meter value; the bar shows it at the next paint.
    float values[4] = {0.6f, 0.15f, 0.5f, 1.0f};
    ASSERT_EQ(warden.dispatch(effSetChunk, 0, sizeof values, values), static_cast<std::intptr_t>(sizeof values));
    EXPECT_EQ(warden.meterHeld(), "---------");
    EXPECT_EQ(meterShown(warden.pixels()), "ooooooooo");
    warden.repaint();
    EXPECT_EQ(meterShown(warden.pixels()), "---------");

    // A program change reloads every control and draws at once.
    values[3] = 0.75f;
    ASSERT_EQ(warden.dispatch(effSetChunk, 0, sizeof values, values), static_cast<std::intptr_t>(sizeof values));
    warden.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(warden.meterHeld(), "-------oo");
    EXPECT_EQ(meterShown(warden.pixels()), "-------oo");
}

TEST_F(WardenPanelTest, TheMeterFollowsTheGainsTenthsWhileOpenAndIsDrawnByTheWindowsThread) {
    warden.openAndPaint();
    EXPECT_EQ(gui::runMessages(), 0);
    // About 2330 samples bring the gain to its first tenth.
    EXPECT_LT(warden.renderSilenceOnAudioThread(512), 0.1f);
    EXPECT_EQ(warden.getParameter(3), 0.0f);
    EXPECT_EQ(gui::runMessages(), 0);

    const float crossed = warden.renderSilenceOnAudioThread(2048);
    ASSERT_GE(crossed, 0.1f);
    ASSERT_LT(crossed, 0.2f);
    EXPECT_EQ(warden.getParameter(3), crossed);
    EXPECT_EQ(warden.meterHeld(), "-oooooooo");
    // The audio thread only asked: the window still shows the old bar.
    EXPECT_EQ(meterShown(warden.pixels()), "ooooooooo");
    EXPECT_EQ(gui::runMessages(), 1);
    EXPECT_EQ(meterShown(warden.pixels()), "-oooooooo");

    // Within the same tenth nothing is stored, pushed or posted.
    EXPECT_LT(warden.renderSilenceOnAudioThread(256), 0.2f);
    EXPECT_EQ(warden.getParameter(3), crossed);
    EXPECT_EQ(gui::runMessages(), 0);

    // After a second of silence little reduction is left; the meter holds
    // the gain of the block that reached this tenth.
    const float recovered = warden.renderSilenceOnAudioThread(44100);
    ASSERT_GE(recovered, 0.8f);
    ASSERT_LT(recovered, 0.9f);
    const float meter = warden.getParameter(3);
    EXPECT_GE(meter, 0.8f);
    EXPECT_LE(meter, recovered);
    EXPECT_EQ(gui::runMessages(), 1);
    EXPECT_EQ(meterShown(warden.pixels()), "--------o");

    // Closed, the meter stays where it was, whatever the audio does.
    warden.dispatch(effEditClose);
    // Whatever the system itself posts when the window goes.
    gui::runMessages();
    EXPECT_GT(warden.renderSilenceOnAudioThread(44100), 0.9f);
    EXPECT_EQ(warden.getParameter(3), meter);
    EXPECT_EQ(warden.meterHeld(), "--------o");
    EXPECT_EQ(gui::runMessages(), 0);
}

TEST_F(WardenPanelTest, DraggingTheAttackKnobUpTenPixelsSetsTheAttackAndTellsTheHost) {
    warden.openAndPaint();
    warden.dragUp(knobX[1] + knobSize / 2, knobY + knobSize / 2, 10);

    const std::vector<HostCall> automated = warden.host.callsOf(audioMasterAutomate);
    ASSERT_EQ(automated.size(), 10u);
    for (const HostCall& call : automated) EXPECT_EQ(call.index, 1);
    // 0.15 and ten pixels at 200 pixels per range.
    const float attack = automated.back().opt;
    EXPECT_NEAR(attack, 0.2f, 1e-6f);
    EXPECT_EQ(warden.getParameter(1), attack);
    EXPECT_EQ(warden.knob(1)->getValue(), attack);

    // The compressor takes the dragged attack as it takes a host's.
    WardenEffect reference(FakeHost::callback());
    reference.setParameter(1, attack);
    EXPECT_EQ(warden.effect->compressor().attackCoef(), reference.compressor().attackCoef());
    EXPECT_EQ(warden.effect->compressor().releaseCoef(), reference.compressor().releaseCoef());
}

TEST_F(WardenPanelTest, ClicksAndDragsOnTheMeterChangeNothing) {
    warden.openAndPaint();
    warden.dragUp(meterX + ledSize * 4 + 4, meterY + 4, 10);
    EXPECT_TRUE(warden.host.callsOf(audioMasterAutomate).empty());
    for (int parameter = 0; parameter < 4; ++parameter) {
        const float defaults[4] = {0.6f, 0.15f, 0.5f, 0.0f};
        EXPECT_EQ(warden.getParameter(parameter), defaults[parameter]) << parameter;
    }
    EXPECT_EQ(warden.meterHeld(), "ooooooooo");
}

struct MissingPicture {
    const char* library;
    bool ledsExpected;
    bool knobsExpected;
    bool backgroundExpected;
};

TEST(WardenPanelWithoutAPicture, LeavesOutWhatNeedsItAndStillOpens) {
    gui::Pixels complete;
    {
        WardenPanel full;
        full.openAndPaint();
        complete = full.pixels();
    }
    const MissingPicture cases[] = {
        {"warden_pictures_without_background", true, true, false},
        {"warden_pictures_without_led", false, true, true},
        {"warden_pictures_without_strip", true, false, true},
        {"warden_pictures_without_mask", true, false, true},
    };
    for (const MissingPicture& c : cases) {
        SCOPED_TRACE(c.library);
        WardenPanel warden{c.library};
        EXPECT_EQ(warden.record->flags & effFlagsHasEditor, effFlagsHasEditor);
        ERect* rect = nullptr;
        ASSERT_EQ(warden.dispatch(effEditGetRect, 0, 0, &rect), 1);
        EXPECT_EQ(rect->right, panelWidth);
        EXPECT_EQ(rect->bottom, panelHeight);

        // The LEDs come first in the list, then the knobs.
        const std::size_t leds = c.ledsExpected ? ledCount : 0;
        const std::size_t knobs = c.knobsExpected ? 3 : 0;
        ASSERT_EQ(warden.controls().size(), leds + knobs);
        for (std::size_t i = 0; i < leds; ++i) EXPECT_NE(warden.control<ReductionLed>(i), nullptr) << i;
        for (std::size_t i = leds; i < leds + knobs; ++i) {
            ASSERT_NE(warden.control<Knob>(i), nullptr) << i;
            EXPECT_EQ(warden.control<Knob>(i)->paramIndex, static_cast<std::int32_t>(i - leds));
        }

        warden.openAndPaint();
        const gui::Pixels shown = warden.pixels();
        int wrong = 0;
        for (int y = 0; y < panelHeight; ++y) {
            for (int x = 0; x < panelWidth; ++x) {
                if (insideSomeControl(x, y)) continue;
                if (shown.at(x, y) != (c.backgroundExpected ? complete.at(x, y) : flatGrey)) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "pixels outside the controls not as expected";
        EXPECT_EQ(meterShown(shown) == "ooooooooo", c.ledsExpected);
        for (int parameter = 0; parameter < 3; ++parameter) {
            const int cx = knobX[parameter] + knobSize / 2;
            const int cy = knobY + knobSize / 2;
            EXPECT_EQ(shown.at(cx, cy) == complete.at(cx, cy), c.knobsExpected) << "knob " << parameter;
        }

        // The meter still runs, shown or not; the knobs' parameters are the host's alone.
        warden.renderSilence(3000);
        EXPECT_GT(warden.getParameter(3), 0.0f);
        warden.dragUp(knobX[1] + knobSize / 2, knobY + knobSize / 2, 10);
        EXPECT_EQ(warden.host.callsOf(audioMasterAutomate).size(), c.knobsExpected ? 10u : 0u);
        EXPECT_EQ(warden.getParameter(1) == 0.15f, !c.knobsExpected);
    }
}

}  // namespace
