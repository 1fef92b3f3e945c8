// The Swirl panel as its effect creates and drives it: the knobs' layout,
// the values they show, the effect's panel steps, a drag reaching the host,
// and the panel without one of its pictures.
#include "Knob.h"
#include "PluginPanel.h"
#include "SwirlEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int panelWidth = 785;
constexpr int panelHeight = 82;
constexpr int knobSize = 26;
constexpr int knobCount = 8;
constexpr float defaultValue = 0.03f;
constexpr std::uint32_t flatGrey = gui::pixelOf(RGB(150, 150, 150));

struct Place {
    int x;
    int y;
};

/// Where each parameter's knob sits, in parameter order.
constexpr Place knobPlaces[knobCount] = {
    {136, 35}, {185, 35}, {233, 35}, {282, 35}, {331, 35}, {426, 35}, {475, 35}, {524, 35},
};

std::string pictureLibrary(const std::string& name) { return PICTURE_LIBRARY_DIR + name + PICTURE_LIBRARY_SUFFIX; }

std::vector<std::uint32_t> knobSquare(const gui::Pixels& shown, int knob) {
    return squareOf(shown, knobPlaces[knob].x, knobPlaces[knob].y, knobSize);
}

bool insideSomeKnob(int x, int y) {
    for (const Place& place : knobPlaces)
        if (x >= place.x && x < place.x + knobSize && y >= place.y && y < place.y + knobSize) return true;
    return false;
}

/// A Swirl effect whose panel finds its pictures in the named library.
class SwirlPanel : public PluginPanel<SwirlEffect> {
public:
    explicit SwirlPanel(const std::string& library)
        : PluginPanel(pictureLibrary(library), panelWidth, panelHeight) {}

    Knob* knob(int index) const { return control<Knob>(static_cast<std::size_t>(index)); }
};

class SwirlPanelTest : public testing::Test {
protected:
    SwirlPanel swirl{"Swirl"};
};

TEST_F(SwirlPanelTest, TheHostIsOfferedAPanelOf785By82) {
    EXPECT_EQ(swirl.record->flags & effFlagsHasEditor, effFlagsHasEditor);
    ERect* rect = nullptr;
    ASSERT_EQ(swirl.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, panelHeight);
    EXPECT_EQ(rect->right, panelWidth);
}

TEST_F(SwirlPanelTest, EightKnobsInParameterOrderAtTheirPlaces) {
    const auto& controls = swirl.controls();
    ASSERT_EQ(controls.size(), static_cast<std::size_t>(knobCount));
    for (int index = 0; index < knobCount; ++index) {
        SCOPED_TRACE("knob " + std::to_string(index));
        const Knob* knob = swirl.knob(index);
        ASSERT_NE(knob, nullptr);
        EXPECT_EQ(knob->x, knobPlaces[index].x);
        EXPECT_EQ(knob->y, knobPlaces[index].y);
        EXPECT_EQ(knob->width, knobSize);
        EXPECT_EQ(knob->height, knobSize);
        EXPECT_EQ(knob->paramIndex, index);
        EXPECT_EQ(knob->owner, &swirl.panel());
        EXPECT_TRUE(knob->automated);
        EXPECT_FALSE(knob->notifyOnRelease);
        EXPECT_EQ(knob->frameCount, 64);
        EXPECT_EQ(knob->frameHeight, knobSize);
        EXPECT_EQ(knob->detentWidth, 0.0f);
        EXPECT_EQ(knob->detentValue, 0.0f);
        EXPECT_FALSE(knob->erase);
        // One strip and one mask serve every knob.
        EXPECT_NE(knob->strip, nullptr);
        EXPECT_NE(knob->mask, nullptr);
        EXPECT_EQ(knob->strip, swirl.knob(0)->strip);
        EXPECT_EQ(knob->mask, swirl.knob(0)->mask);
    }
}

TEST_F(SwirlPanelTest, AFreshEffectsKnobsShowTheDefaultsFrame) {
    for (int index = 0; index < knobCount; ++index) {
        SCOPED_TRACE("knob " + std::to_string(index));
        ASSERT_NE(swirl.knob(index), nullptr);
        EXPECT_EQ(swirl.knob(index)->getValue(), defaultValue);
        // trunc(63 x 0.03) = frame 1, one frame height down the strip.
        EXPECT_EQ(swirl.knob(index)->lastFrameOffset, knobSize);
    }
    // Opened, every knob shows that frame: the disc looks the same on each,
    // and differs once the knob is turned elsewhere.
    swirl.openAndPaint();
    const gui::Pixels fresh = swirl.pixels();
    swirl.setParameter(0, 1.0f);
    const std::vector<std::uint32_t> turned = knobSquare(swirl.pixels(), 0);
    const int centre = (knobSize / 2) * knobSize + knobSize / 2;
    for (int index = 0; index < knobCount; ++index)
        EXPECT_EQ(knobSquare(fresh, index)[centre], knobSquare(fresh, 0)[centre]) << "knob " << index;
    EXPECT_NE(turned, knobSquare(fresh, 0));
}

TEST_F(SwirlPanelTest, AHostChangeMovesItsKnobAndDrawsItAtOnce) {
    swirl.openAndPaint();
    const gui::Pixels fresh = swirl.pixels();
    swirl.setParameter(3, 1.0f);
    EXPECT_EQ(swirl.knob(3)->getValue(), 1.0f);
    // Drawn without a paint: the window's own thread made the change.
    const gui::Pixels changed = swirl.pixels();
    EXPECT_NE(knobSquare(changed, 3), knobSquare(fresh, 3));
    for (int other : {0, 1, 2, 4, 5, 6, 7}) EXPECT_EQ(knobSquare(changed, other), knobSquare(fresh, other));

    swirl.setParameter(3, defaultValue);
    EXPECT_EQ(knobSquare(swirl.pixels(), 3), knobSquare(fresh, 3));
}

TEST_F(SwirlPanelTest, AValueAlreadyStoredLeavesTheKnobsAlone) {
    Knob* knob = swirl.knob(2);
    ASSERT_NE(knob, nullptr);
    knob->setValue(0.9f, false);
    swirl.setParameter(2, defaultValue);
    EXPECT_EQ(knob->getValue(), 0.9f);
    swirl.setParameter(2, 0.5f);
    EXPECT_EQ(knob->getValue(), 0.5f);
}

TEST_F(SwirlPanelTest, AChangeFromTheHostsOtherThreadIsDrawnByTheWindowsThread) {
    swirl.openAndPaint();
    const gui::Pixels fresh = swirl.pixels();
    std::thread([this] { swirl.setParameter(5, 1.0f); }).join();
    EXPECT_EQ(swirl.knob(5)->getValue(), 1.0f);
    EXPECT_EQ(knobSquare(swirl.pixels(), 5), knobSquare(fresh, 5));
    EXPECT_EQ(gui::runMessages(), 1);
    EXPECT_NE(knobSquare(swirl.pixels(), 5), knobSquare(fresh, 5));
}

TEST_F(SwirlPanelTest, AProgramChangeSetsAndDrawsEveryKnob) {
    swirl.openAndPaint();
    const gui::Pixels fresh = swirl.pixels();
    swirl.dispatch(effSetProgram, 0, 4);
    for (int index = 0; index < knobCount; ++index)
        swirl.setParameter(index, 0.1f * static_cast<float>(index + 2));
    const gui::Pixels program4 = swirl.pixels();

    swirl.dispatch(effSetProgram, 0, 0);
    const gui::Pixels back = swirl.pixels();
    for (int index = 0; index < knobCount; ++index) {
        SCOPED_TRACE("knob " + std::to_string(index));
        EXPECT_EQ(swirl.knob(index)->getValue(), defaultValue);
        EXPECT_EQ(knobSquare(back, index), knobSquare(fresh, index));
    }
    swirl.dispatch(effSetProgram, 0, 4);
    const gui::Pixels again = swirl.pixels();
    for (int index = 0; index < knobCount; ++index) {
        SCOPED_TRACE("knob " + std::to_string(index));
        EXPECT_EQ(swirl.knob(index)->getValue(), 0.1f * static_cast<float>(index + 2));
        EXPECT_EQ(knobSquare(again, index), knobSquare(program4, index));
    }
}

TEST(SwirlPanelChunks, ALoadedChunkSetsTheKnobsAndShowsAtTheNextPaint) {
    const struct {
        const char* name;
        bool isPreset;
    } kinds[] = {{"bank", false}, {"program", true}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        SwirlPanel fresh{"Swirl"};
        fresh.openAndPaint();
        const gui::Pixels before = fresh.pixels();
        void* data = nullptr;
        const auto size = static_cast<std::size_t>(fresh.dispatch(effGetChunk, kind.isPreset ? 1 : 0, 0, &data));
        std::vector<unsigned char> chunk(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
        // Program 0's third value sits after its name in a bank chunk.
        const std::size_t offset = (kind.isPreset ? 0 : 24) + 2 * sizeof(float);
        const float loaded = 0.75f;
        std::memcpy(chunk.data() + offset, &loaded, sizeof loaded);

        ASSERT_EQ(fresh.dispatch(effSetChunk, kind.isPreset ? 1 : 0, static_cast<std::intptr_t>(chunk.size()),
                                 chunk.data()),
                  static_cast<std::intptr_t>(chunk.size()));
        EXPECT_EQ(fresh.knob(2)->getValue(), loaded);
        EXPECT_EQ(knobSquare(fresh.pixels(), 2), knobSquare(before, 2));
        fresh.repaint();
        EXPECT_NE(knobSquare(fresh.pixels(), 2), knobSquare(before, 2));
    }
}

TEST_F(SwirlPanelTest, DraggingAKnobUpTellsTheEffectAndTheHost) {
    swirl.openAndPaint();
    swirl.dragUp(knobPlaces[6].x + knobSize / 2, knobPlaces[6].y + knobSize / 2, 10);

    const std::vector<HostCall> automated = swirl.host.callsOf(audioMasterAutomate);
    ASSERT_EQ(automated.size(), 10u);
    for (const HostCall& call : automated) EXPECT_EQ(call.index, 6);
    // Ten pixels at 200 pixels per range.
    EXPECT_NEAR(automated.back().opt, defaultValue + 0.05f, 1e-6f);
    EXPECT_EQ(swirl.getParameter(6), automated.back().opt);
    EXPECT_EQ(swirl.knob(6)->getValue(), automated.back().opt);
}

/// The panel of a library lacking one picture, beside the complete panel.
struct MissingPicture {
    const char* library;
    bool knobsExpected;
    bool backgroundExpected;
};

TEST(SwirlPanelWithoutAPicture, FallsBackAndStillOpens) {
    gui::Pixels complete;
    {
        SwirlPanel full{"Swirl"};
        full.openAndPaint();
        complete = full.pixels();
    }
    const MissingPicture cases[] = {
        {"swirl_pictures_without_background", true, false},
        {"swirl_pictures_without_strip", false, true},
        {"swirl_pictures_without_mask", false, true},
    };
    for (const MissingPicture& c : cases) {
        SCOPED_TRACE(c.library);
        SwirlPanel swirl{c.library};
        EXPECT_EQ(swirl.record->flags & effFlagsHasEditor, effFlagsHasEditor);
        ERect* rect = nullptr;
        ASSERT_EQ(swirl.dispatch(effEditGetRect, 0, 0, &rect), 1);
        EXPECT_EQ(rect->right, panelWidth);
        EXPECT_EQ(rect->bottom, panelHeight);
        EXPECT_EQ(swirl.controls().size(), c.knobsExpected ? 8u : 0u);
        swirl.openAndPaint();
        const gui::Pixels shown = swirl.pixels();

        int wrong = 0;
        for (int y = 0; y < panelHeight; ++y) {
            for (int x = 0; x < panelWidth; ++x) {
                if (insideSomeKnob(x, y)) continue;
                const std::uint32_t expected = c.backgroundExpected ? complete.at(x, y) : flatGrey;
                if (shown.at(x, y) != expected) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "pixels outside the knobs not as expected";
        for (int knob = 0; knob < knobCount; ++knob) {
            // The disc's centre shows the knob when it is there; without a
            // knob the background shows through.
            const int cx = knobPlaces[knob].x + knobSize / 2;
            const int cy = knobPlaces[knob].y + knobSize / 2;
            EXPECT_EQ(shown.at(cx, cy) == complete.at(cx, cy), c.knobsExpected) << "knob " << knob;
        }

        // A drag where a knob would be reaches nothing.
        const float before = swirl.getParameter(0);
        swirl.dragUp(knobPlaces[0].x + knobSize / 2, knobPlaces[0].y + knobSize / 2, 10);
        EXPECT_EQ(swirl.host.callsOf(audioMasterAutomate).size(), c.knobsExpected ? 10u : 0u);
        EXPECT_EQ(swirl.getParameter(0) == before, !c.knobsExpected);
    }
}

}  // namespace
