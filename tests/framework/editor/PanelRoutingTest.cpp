#include "EditorFixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using fixtures::ProbeControl;
using fixtures::RecordingEffect;
using fixtures::TestPanel;

// The parent sits away from the screen's origin so that screen and client
// coordinates differ.
constexpr int parentX = 100;
constexpr int parentY = 60;

enum class Kind { move, down, up, wheel, reopen };

struct Step {
    Kind kind;
    int x = 0;  // client coordinates of the editor window
    int y = 0;
    int wheelDelta = 0;
};

struct RoutingCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> calls;
};

Step move(int x, int y) { return {Kind::move, x, y}; }
Step down(int x, int y) { return {Kind::down, x, y}; }
Step up(int x, int y) { return {Kind::up, x, y}; }
Step wheel(int x, int y, int delta) { return {Kind::wheel, x, y, delta}; }
Step reopen() { return {Kind::reopen}; }

class PanelRoutingTest : public testing::Test {
protected:
    PanelRoutingTest() {
        fixtures::useTestModule();
        parent = gui::createParentWindow(100, 60);
        gui::moveParentWindow(parent, parentX, parentY);
    }
    ~PanelRoutingTest() override { gui::destroyParentWindow(parent); }

    /// A fresh panel with A at (10, 10) and B right beside it at (30, 10), both 20 x 20.
    std::unique_ptr<TestPanel> openPanel() {
        auto panel = std::make_unique<TestPanel>(&effect, 80, 50);
        panel->add(new ProbeControl("A", log, 10, 10, 20, 20));
        panel->add(new ProbeControl("B", log, 30, 10, 20, 20));
        EXPECT_TRUE(panel->open(parent));
        gui::runMessages();
        return panel;
    }

    void perform(TestPanel& panel, const Step& step) {
        const int sx = parentX + step.x;
        const int sy = parentY + step.y;
        switch (step.kind) {
            case Kind::move: gui::sendMouse(WM_MOUSEMOVE, sx, sy); break;
            case Kind::down: gui::sendMouse(WM_LBUTTONDOWN, sx, sy); break;
            case Kind::up: gui::sendMouse(WM_LBUTTONUP, sx, sy); break;
            case Kind::wheel: gui::sendMouse(WM_MOUSEWHEEL, sx, sy, step.wheelDelta); break;
            case Kind::reopen:
                panel.close();
                EXPECT_TRUE(panel.open(parent));
                gui::runMessages();
                break;
        }
    }

    FakeHost host;
    RecordingEffect effect{FakeHost::callback()};
    HWND parent = nullptr;
    std::vector<std::string> log;
};

TEST_F(PanelRoutingTest, MouseMessagesReachTheRightControls) {
    const RoutingCase cases[] = {
        {"press and release on one control",
         {down(15, 15), up(16, 15)},
         {"A.down 15,15", "A.up 16,15", "A.dragEnd 16,15"}},
        {"press on A released over B", {down(15, 15), up(35, 15)}, {"A.down 15,15", "A.dragEnd 35,15"}},
        {"press outside released over a control", {down(5, 40), up(35, 15)}, {"B.up 35,15"}},
        {"moving from A straight onto B enters B one movement later",
         {move(15, 15), move(35, 15), move(36, 15)},
         {"A.enter 15,15", "A.leave 35,15", "B.enter 36,15"}},
        {"a drag over another control and back",
         {move(15, 15), down(15, 15), move(35, 15), move(36, 15), move(20, 15), move(36, 16), up(36, 16)},
         {"A.enter 15,15", "A.down 15,15", "A.drag 35,15", "A.leave 35,15", "A.drag 36,15", "A.drag 20,15",
          "A.enter 20,15", "A.drag 36,16", "A.leave 36,16", "A.dragEnd 36,16"}},
        {"a drag beyond the window's top left keeps negative coordinates",
         {down(15, 15), move(-3, -7), up(-3, -7)},
         {"A.down 15,15", "A.drag -3,-7", "A.dragEnd -3,-7"}},
        {"the capture survives closing and reopening",
         {down(15, 15), reopen(), move(35, 15), move(36, 15), up(36, 15), move(37, 15)},
         {"A.down 15,15", "A.drag 35,15", "A.drag 36,15", "A.dragEnd 36,15", "B.enter 37,15"}},
        {"one notch up", {wheel(15, 15, 120)}, {"A.wheel 1"}},
        {"one notch down", {wheel(35, 15, -120)}, {"B.wheel -1"}},
        {"two notches up count as down", {wheel(15, 15, 240)}, {"A.wheel -1"}},
        {"a fraction of a notch counts as down", {wheel(15, 15, 60)}, {"A.wheel -1"}},
        {"the wheel ignores the capture", {down(15, 15), wheel(35, 15, 120), up(15, 15)},
         {"A.down 15,15", "B.wheel 1", "A.up 15,15", "A.dragEnd 15,15"}},
        {"the wheel beside every control", {wheel(5, 40, 120)}, {}},
    };
    for (const RoutingCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto panel = openPanel();
        log.clear();
        for (const Step& step : c.steps) perform(*panel, step);
        EXPECT_EQ(log, c.calls);
    }
}

TEST_F(PanelRoutingTest, PointDecodingTreatsOnlyValuesAbove32768AsNegative) {
    struct Raw {
        WORD x, y;
        const char* drag;
    };
    const Raw cases[] = {
        {0x7FFF, 0x8000, "A.drag 32767,32768"},
        {0x8001, 0xFFFF, "A.drag -32767,-1"},
        {0x0000, 0x0001, "A.drag 0,1"},
    };
    auto panel = openPanel();
    perform(*panel, down(15, 15));
    for (const Raw& c : cases) {
        log.clear();
        PanelEditor::windowProc(panel->windowHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(c.x, c.y));
        EXPECT_EQ(log, std::vector<std::string>{c.drag});
    }
}

TEST_F(PanelRoutingTest, AnLedIgnoresTheMouse) {
    auto panel = std::make_unique<TestPanel>(&effect, 80, 50);
    HBITMAP picture = gui::loadBitmap(fixtures::ledPicture());
    Led* led = panel->add(new Led(10, 10, fixtures::ledSize, fixtures::ledSize, 0.5f, picture, fixtures::ledSize));
    led->setValue(0.25f, false);
    ASSERT_TRUE(panel->open(parent));
    gui::runMessages();
    const Step steps[] = {move(12, 12), down(12, 12), move(12, 2), move(30, 40), up(12, 12), wheel(12, 12, 120)};
    for (const Step& step : steps) perform(*panel, step);
    EXPECT_EQ(led->getValue(), 0.25f);
    EXPECT_TRUE(effect.stored.empty());
    EXPECT_TRUE(host.calls.empty());
    panel.reset();
    DeleteObject(picture);
}

}  // namespace
