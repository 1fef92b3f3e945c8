#include "EditorFixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using fixtures::RecordingEffect;
using fixtures::TestPanel;

constexpr std::int32_t knobIndex = 3;

// A closed panel with one knob bound to parameter 3; the knob draws nothing
// while closed, so it needs no pictures.
class KnobTest : public testing::Test {
protected:
    KnobTest() {
        fixtures::useTestModule();
        panel = std::make_unique<TestPanel>(&effect, 100, 50);
        effect.panel = panel.get();
        knob = panel->add(new Knob(10, 10, 26, 26, 0.0f, 0.0f, nullptr, nullptr, 26, 64), knobIndex);
    }

    /// Puts the knob at v as a pushed value would, forgetting what it did so far.
    void start(float v) {
        knob->setValue(0.25f, false);  // leaves the never-drawn start state
        knob->setValue(v, false);
        knob->dirty = false;
        effect.stored.clear();
        host.calls.clear();
    }

    std::vector<float> storedValues() const {
        std::vector<float> values;
        for (const auto& [index, value] : effect.stored) {
            EXPECT_EQ(index, knobIndex);
            values.push_back(value);
        }
        return values;
    }

    FakeHost host;
    RecordingEffect effect{FakeHost::callback()};
    std::unique_ptr<TestPanel> panel;
    Knob* knob = nullptr;
};

struct SetCase {
    const char* name;
    float start;
    float set;
    float stored;
    bool notified;
    bool dirty;
};

TEST_F(KnobTest, SetValueClampsNotifiesAndMarksFrameChanges) {
    const SetCase cases[] = {
        {"above the range", 0.5f, 1.5f, 1.0f, true, true},
        {"below the range", 0.5f, -0.2f, 0.0f, true, true},
        {"the value it holds", 0.5f, 0.5f, 0.5f, false, false},
        {"into the last frame", 0.999f, 1.0f, 1.0f, true, true},
        {"within one frame", 0.50f, 0.505f, 0.505f, true, false},
        {"out of the first frame", 0.0f, 1.0f / 63.0f + 0.0001f, 1.0f / 63.0f + 0.0001f, true, true},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(c.name);
        start(c.start);
        knob->setValue(c.set, true);
        EXPECT_EQ(knob->getValue(), c.stored);
        EXPECT_EQ(knob->dirty.load(), c.dirty);
        const std::vector<float> expected = c.notified ? std::vector<float>{c.stored} : std::vector<float>{};
        EXPECT_EQ(storedValues(), expected);
        // Automated: the host hears of every notification.
        EXPECT_EQ(host.callsOf(audioMasterAutomate).size(), expected.size());
    }
}

TEST_F(KnobTest, FirstValueAlwaysChangesTheFrame) {
    // A fresh knob shows nothing yet, so even its own start value counts.
    knob->dirty = false;
    knob->setValue(0.5f + 0.001f, false);
    EXPECT_TRUE(knob->dirty.load());
}

TEST_F(KnobTest, NotAutomatedKnobOnlyStoresTheValue) {
    knob->automated = false;
    start(0.5f);
    knob->onMouseDown(0, 0, 100);
    knob->onDrag(0, 90);
    EXPECT_EQ(storedValues(), std::vector<float>{0.55f});
    EXPECT_TRUE(host.callsOf(audioMasterAutomate).empty());
}

struct DragCase {
    const char* name;
    float start;
    float detentWidth;
    float detentValue;
    bool notifyOnRelease;
    std::vector<int> moves;  // pointer y after the press at y = 100
    std::vector<float> toldDuringDrag;
    float finalValue;
    std::vector<float> toldAtRelease;
};

TEST_F(KnobTest, DragStepsFollowTheRules) {
    const DragCase cases[] = {
        {"every pixel up is one step", 0.5f, 0.0f, 0.0f, false, {99, 98, 97}, {0.505f, 0.51f, 0.515f}, 0.515f, {}},
        {"downwards lowers the value", 0.5f, 0.0f, 0.0f, false, {110}, {0.45f}, 0.45f, {}},
        {"one movement of 200 pixels spans the range", 0.0f, 0.0f, 0.0f, false, {-100}, {1.0f}, 1.0f, {}},
        {"pinned at the top calls nothing", 1.0f, 0.0f, 0.0f, false, {90, 50}, {}, 1.0f, {}},
        {"pinned at the bottom calls nothing", 0.0f, 0.0f, 0.0f, false, {120}, {}, 0.0f, {}},
        {"no movement changes nothing", 0.5f, 0.0f, 0.0f, false, {100}, {}, 0.5f, {}},
        // 0.455 lies in the zone: snap to 0.5 and keep the press point; the
        // knob stays until the pointer is 10 pixels above it.
        {"detent holds and releases",
         0.45f, 0.05f, 0.5f, false, {99, 98, 95, 91, 90}, {0.5f, 0.55f}, 0.55f, {}},
        // Without a width the detent value is passed like any other.
        {"zero detent width never snaps", 0.49f, 0.0f, 0.5f, false, {99, 98, 97}, {0.495f, 0.5f, 0.505f}, 0.505f, {}},
        {"notify on release tells once at the end", 0.5f, 0.0f, 0.0f, true, {99, 98}, {}, 0.51f, {0.51f}},
        {"notify on release tells an unchanged value", 0.5f, 0.0f, 0.0f, true, {}, {}, 0.5f, {0.5f}},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.name);
        knob->detentWidth = c.detentWidth;
        knob->detentValue = c.detentValue;
        knob->notifyOnRelease = c.notifyOnRelease;
        start(c.start);
        knob->onMouseDown(0, 0, 100);
        for (int y : c.moves) knob->onDrag(0, y);
        EXPECT_EQ(storedValues(), c.toldDuringDrag);
        EXPECT_EQ(host.callsOf(audioMasterAutomate).size(), c.toldDuringDrag.size());
        EXPECT_EQ(knob->getValue(), c.finalValue);

        effect.stored.clear();
        knob->dirty = false;
        knob->onDragEnd(0, c.moves.empty() ? 100 : c.moves.back());
        EXPECT_EQ(storedValues(), c.toldAtRelease);
        EXPECT_TRUE(knob->dirty.load()) << "every release redraws the knob";
    }
}

TEST_F(KnobTest, PixelByPixelDragReachesTheTopWithinOneMorePixel) {
    // Each step adds 0.005 to the current value in single precision, so 200
    // single-pixel steps end a little short of 1; the clamp catches the next.
    start(0.0f);
    knob->onMouseDown(0, 0, 300);
    for (int y = 299; y >= 100; --y) knob->onDrag(0, y);
    EXPECT_NEAR(knob->getValue(), 1.0f, 1e-5f);
    EXPECT_EQ(effect.stored.size(), 200u);
    knob->onDrag(0, 99);
    EXPECT_EQ(knob->getValue(), 1.0f);
    const std::size_t calls = effect.stored.size();
    knob->onDrag(0, 50);
    EXPECT_EQ(effect.stored.size(), calls) << "further movement up calls nothing";
}

TEST_F(KnobTest, DragContinuesFromAPushedValue) {
    start(0.5f);
    knob->onMouseDown(0, 0, 100);
    knob->onDrag(0, 98);
    panel->updateControls(knobIndex, 0.2f);
    knob->onDrag(0, 97);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.205f);
}

TEST_F(KnobTest, PushedValuesNeverReachTheEffect) {
    start(0.5f);
    panel->updateControls(knobIndex, 0.8f);
    EXPECT_EQ(knob->getValue(), 0.8f);
    effect.parameters[knobIndex] = 0.3f;
    panel->reloadControls();
    EXPECT_EQ(knob->getValue(), 0.3f);
    EXPECT_TRUE(effect.stored.empty());
    EXPECT_TRUE(host.calls.empty());
}

}  // namespace
