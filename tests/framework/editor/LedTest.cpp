#include "EditorFixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using fixtures::RecordingEffect;
using fixtures::TestPanel;

class LedTest : public testing::Test {
protected:
    LedTest() {
        fixtures::useTestModule();
        panel = std::make_unique<TestPanel>(&effect, 100, 50);
        led = panel->add(new Led(5, 5, 8, 8, 0.5f, nullptr, 8), 4);
    }

    FakeHost host;
    RecordingEffect effect{FakeHost::callback()};
    std::unique_ptr<TestPanel> panel;
    Led* led = nullptr;
};

TEST_F(LedTest, SetValueStoresAsGivenAndAlwaysMarksDirty) {
    const float values[] = {1.7f, -0.3f, 0.5f, 0.5f};
    for (float v : values) {
        SCOPED_TRACE(v);
        led->dirty = false;
        led->setValue(v, false);
        EXPECT_EQ(led->getValue(), v);
        EXPECT_TRUE(led->dirty.load());
    }
    EXPECT_TRUE(effect.stored.empty());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(LedTest, EveryPushBeyondTheToleranceRedrawsEvenInTheSameFrame) {
    led->dirty = false;
    panel->updateControls(4, 0.6f);
    EXPECT_TRUE(led->dirty.load());
    led->dirty = false;
    panel->updateControls(4, 0.7f);
    EXPECT_TRUE(led->dirty.load()) << "still lit, still redrawn";
}

TEST_F(LedTest, NotifyFollowsTheNotificationRule) {
    led->automated = false;
    led->setValue(0.25f, true);
    ASSERT_EQ(effect.stored.size(), 1u);
    EXPECT_EQ(effect.stored[0], std::make_pair(std::int32_t{4}, 0.25f));
    EXPECT_TRUE(host.callsOf(audioMasterAutomate).empty());

    led->automated = true;
    led->setValue(0.75f, true);
    ASSERT_EQ(host.callsOf(audioMasterAutomate).size(), 1u);
    EXPECT_EQ(host.callsOf(audioMasterAutomate)[0].opt, 0.75f);
}

}  // namespace
