#include "EditorFixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using fixtures::ProbeControl;
using fixtures::RecordingEffect;
using fixtures::TestPanel;

class PanelValuesTest : public testing::Test {
protected:
    PanelValuesTest() {
        fixtures::useTestModule();
        panel = std::make_unique<TestPanel>(&effect, 80, 50);
    }

    ProbeControl* probe(const char* name, std::int32_t index, int x = 0, int y = 0, int w = 10, int h = 10) {
        return panel->add(new ProbeControl(name, log, x, y, w, h), index);
    }

    FakeHost host;
    RecordingEffect effect{FakeHost::callback()};
    std::unique_ptr<TestPanel> panel;
    std::vector<std::string> log;
};

struct ToleranceCase {
    float held;
    float pushed;
    bool set;
};

TEST_F(PanelValuesTest, UpdateControlsIgnoresDifferencesUpToTheTolerance) {
    ProbeControl* first = probe("first", 2);
    ProbeControl* second = probe("second", 2);
    ProbeControl* other = probe("other", 3);
    const ToleranceCase cases[] = {
        {0.0f, 0.0001f, false},     {0.0001f, 0.0f, false}, {0.5f, 0.5f, false},
        {0.0f, 0.00010001f, true}, {0.0f, 0.0002f, true},  {0.25f, 0.75f, true},
        {0.5f, 0.4f, true},
    };
    for (const ToleranceCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.held << " -> " << c.pushed);
        for (ProbeControl* p : {first, second, other}) p->value = c.held;
        log.clear();
        panel->updateControls(2, c.pushed);
        const std::string set = ".set " + std::to_string(c.pushed);
        const std::vector<std::string> expected =
            c.set ? std::vector<std::string>{"first" + set, "second" + set} : std::vector<std::string>{};
        EXPECT_EQ(log, expected);
    }
}

TEST_F(PanelValuesTest, ReloadControlsSetsEveryControlFromTheEffect) {
    probe("a", 1)->value = 0.5f;
    probe("b", 6)->value = 0.1f;
    effect.parameters[1] = 0.5f;  // the same value is still set
    effect.parameters[6] = 0.9f;
    panel->reloadControls();
    EXPECT_EQ(log, (std::vector<std::string>{"a.set " + std::to_string(0.5f), "b.set " + std::to_string(0.9f)}));
    EXPECT_TRUE(effect.stored.empty());
}

TEST_F(PanelValuesTest, HitTestExcludesLeftAndTopEdgesAndTheFirstAddedWins) {
    probe("A", 0, 10, 10, 20, 20);
    probe("B", 0, 30, 10, 20, 20);
    probe("C", 0, 20, 20, 20, 20);  // overlaps A's lower right quarter
    struct Point {
        int x, y;
        const char* hit;
    };
    const Point points[] = {
        {10, 15, nullptr}, {11, 15, "A"}, {15, 10, nullptr}, {15, 11, "A"}, {29, 29, "A"},
        {30, 15, nullptr},  // A's right edge and B's left edge
        {31, 15, "B"},     {15, 30, nullptr}, {35, 35, "C"}, {40, 35, nullptr}, {35, 40, nullptr},
        {30, 30, "C"},     // outside A, inside C
    };
    for (const Point& p : points) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        Control* hit = panel->hitTest(p.x, p.y);
        if (p.hit == nullptr) {
            EXPECT_EQ(hit, nullptr);
            continue;
        }
        ASSERT_NE(hit, nullptr);
        log.clear();
        hit->onWheel(1);
        EXPECT_EQ(log, std::vector<std::string>{std::string(p.hit) + ".wheel 1"});
    }
}

TEST_F(PanelValuesTest, GetRectReportsThePanelSizeBeforeOpening) {
    ERect* rect = nullptr;
    ASSERT_TRUE(panel->getRect(&rect));
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 50);
    EXPECT_EQ(rect->right, 80);
    EXPECT_FALSE(panel->isOpen());
}

TEST(PanelClass, RegisteredWhileAnyEditorLives) {
    fixtures::useTestModule();
    FakeHost host;
    RecordingEffect effect{FakeHost::callback()};
    WNDCLASSA found{};
    const auto registered = [&] { return GetClassInfoA(gui::testModule(), "VTGui", &found) != 0; };
    ASSERT_FALSE(registered());

    auto first = std::make_unique<TestPanel>(&effect, 10, 10);
    EXPECT_TRUE(registered());
    EXPECT_EQ(found.lpfnWndProc, &PanelEditor::windowProc);
    EXPECT_EQ(found.hbrBackground, nullptr);
    auto second = std::make_unique<TestPanel>(&effect, 10, 10);
    first.reset();
    EXPECT_TRUE(registered()) << "the second editor still needs the class";
    second.reset();
    EXPECT_FALSE(registered());

    // A later editor registers it afresh.
    auto third = std::make_unique<TestPanel>(&effect, 10, 10);
    EXPECT_TRUE(registered());
}

}  // namespace
