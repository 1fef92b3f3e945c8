#include "EditorFixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using fixtures::RecordingEffect;
using fixtures::TestPanel;

class PanelWindowTest : public testing::Test {
protected:
    PanelWindowTest() {
        fixtures::useTestModule();
        parent = gui::createParentWindow(60, 40);
        panel = std::make_unique<TestPanel>(&effect, 50, 30);
    }
    ~PanelWindowTest() override {
        panel.reset();
        gui::destroyParentWindow(parent);
    }

    static bool exists(HWND window) {
        gui::Pixels ignored;
        return gui::readPixels(window, ignored);
    }

    FakeHost host;
    RecordingEffect effect{FakeHost::callback()};
    HWND parent = nullptr;
    std::unique_ptr<TestPanel> panel;
};

TEST_F(PanelWindowTest, OpenCreatesAPanelSizedChildAndCloseDestroysIt) {
    ASSERT_TRUE(panel->open(parent));
    EXPECT_TRUE(panel->isOpen());
    HWND window = panel->windowHandle();
    gui::Pixels shown;
    ASSERT_TRUE(gui::readPixels(window, shown));
    EXPECT_EQ(shown.width, 50);
    EXPECT_EQ(shown.height, 30);
    EXPECT_EQ(reinterpret_cast<PanelEditor*>(GetWindowLongPtrA(window, GWLP_USERDATA)), panel.get());

    panel->close();
    EXPECT_FALSE(panel->isOpen());
    EXPECT_FALSE(exists(window));
    panel->close();  // closing again touches nothing
    EXPECT_FALSE(panel->isOpen());

    ASSERT_TRUE(panel->open(parent));
    EXPECT_TRUE(exists(panel->windowHandle()));
}

TEST_F(PanelWindowTest, OpenThatCannotCreateTheWindowStaysClosed) {
    HWND gone = gui::createParentWindow(60, 40);
    gui::destroyParentWindow(gone);
    EXPECT_FALSE(panel->open(gone));
    EXPECT_FALSE(panel->isOpen());
    gui::runMessages();
    panel->redrawDirty();  // closed: nothing to draw into
    EXPECT_EQ(gui::runMessages(), 0);

    EXPECT_TRUE(panel->open(parent)) << "a later open with a real parent still works";
}

TEST_F(PanelWindowTest, OpenWhileOpenReplacesTheFirstWindow) {
    HWND otherParent = gui::createParentWindow(60, 40);
    ASSERT_TRUE(panel->open(parent));
    HWND first = panel->windowHandle();
    ASSERT_TRUE(panel->open(otherParent));
    HWND second = panel->windowHandle();
    EXPECT_TRUE(panel->isOpen());
    EXPECT_FALSE(exists(first)) << "the first window must not be left behind";
    EXPECT_TRUE(exists(second));
    panel.reset();
    gui::destroyParentWindow(otherParent);
}

TEST_F(PanelWindowTest, DestroyingAnOpenEditorDestroysItsWindowAndClass) {
    ASSERT_TRUE(panel->open(parent));
    HWND window = panel->windowHandle();
    panel.reset();
    EXPECT_FALSE(exists(window));
    WNDCLASSA found{};
    EXPECT_FALSE(GetClassInfoA(gui::testModule(), "VTGui", &found));
}

}  // namespace
