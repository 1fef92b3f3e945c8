#include "EditorFixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

using fixtures::ProbeControl;
using fixtures::RecordingEffect;
using fixtures::TestPanel;

constexpr int panelWidth = 40;
constexpr int panelHeight = 24;
constexpr std::uint32_t flatGrey = gui::pixelOf(RGB(150, 150, 150));

class PanelDrawingTest : public testing::Test {
protected:
    PanelDrawingTest() {
        fixtures::useTestModule();
        parent = gui::createParentWindow(panelWidth, panelHeight);
        panel = std::make_unique<TestPanel>(&effect, panelWidth, panelHeight);
        effect.panel = panel.get();
    }
    ~PanelDrawingTest() override {
        panel.reset();
        gui::destroyParentWindow(parent);
        for (HBITMAP bitmap : bitmaps) DeleteObject(bitmap);
    }

    HBITMAP load(const std::vector<unsigned char>& image) {
        HBITMAP bitmap = gui::loadBitmap(image);
        EXPECT_NE(bitmap, nullptr);
        bitmaps.push_back(bitmap);
        return bitmap;
    }

    void useBackground() {
        panel->setBackground(load(bmp::image24(panelWidth, panelHeight, fixtures::backgroundColour)));
    }

    Knob* addKnob(int x, int y) {
        return panel->add(new Knob(x, y, fixtures::knobSize, fixtures::knobSize, 0.0f, 0.0f,
                                   load(fixtures::knobStrip()), load(fixtures::knobMask()), fixtures::knobSize,
                                   fixtures::knobFrames));
    }

    Led* addLed(int x, int y, float threshold) {
        return panel->add(new Led(x, y, fixtures::ledSize, fixtures::ledSize, threshold,
                                  load(fixtures::ledPicture()), fixtures::ledSize),
                          1);
    }

    void openAndPaint() {
        ASSERT_TRUE(panel->open(parent));
        gui::runMessages();
        repaint();
    }

    /// A full WM_PAINT, whatever the window's update region.
    void repaint() {
        InvalidateRect(panel->windowHandle(), nullptr, FALSE);
        UpdateWindow(panel->windowHandle());
    }

    gui::Pixels pixels() {
        gui::Pixels read;
        EXPECT_TRUE(gui::readPixels(panel->windowHandle(), read));
        EXPECT_EQ(read.width, panelWidth);
        EXPECT_EQ(read.height, panelHeight);
        return read;
    }

    /// Every pixel of the knob at (kx, ky) shows frame inside the disc and
    /// the background outside it.
    void expectKnob(const gui::Pixels& shown, int kx, int ky, int frame) {
        int wrong = 0;
        for (int y = 0; y < fixtures::knobSize; ++y) {
            for (int x = 0; x < fixtures::knobSize; ++x) {
                const std::uint32_t expected =
                    fixtures::insideDisc(x, y) ? fixtures::pixelOf(fixtures::knobFrameColour(frame))
                                               : fixtures::pixelOf(fixtures::backgroundColour(kx + x, ky + y));
                if (shown.at(kx + x, ky + y) != expected && wrong++ < 3)
                    ADD_FAILURE() << "knob pixel " << x << "," << y << " is " << std::hex << shown.at(kx + x, ky + y)
                                  << ", expected " << expected;
            }
        }
        EXPECT_EQ(wrong, 0);
    }

    void expectLed(const gui::Pixels& shown, int lx, int ly, bool lit) {
        int wrong = 0;
        for (int y = 0; y < fixtures::ledSize; ++y)
            for (int x = 0; x < fixtures::ledSize; ++x)
                if (shown.at(lx + x, ly + y) != fixtures::pixelOf(fixtures::ledColour(lit, x, y))) ++wrong;
        EXPECT_EQ(wrong, 0) << (lit ? "lit" : "unlit") << " frame expected";
    }

    FakeHost host;
    RecordingEffect effect{FakeHost::callback()};
    HWND parent = nullptr;
    std::unique_ptr<TestPanel> panel;
    std::vector<HBITMAP> bitmaps;
};

TEST_F(PanelDrawingTest, WithoutBackgroundThePanelIsFlatGrey) {
    openAndPaint();
    const gui::Pixels shown = pixels();
    for (std::uint32_t pixel : shown.data) ASSERT_EQ(pixel, flatGrey);
}

TEST_F(PanelDrawingTest, TheBackgroundIsCopiedExactly) {
    useBackground();
    openAndPaint();
    const gui::Pixels shown = pixels();
    for (int y = 0; y < panelHeight; ++y)
        for (int x = 0; x < panelWidth; ++x)
            ASSERT_EQ(shown.at(x, y), fixtures::pixelOf(fixtures::backgroundColour(x, y))) << x << "," << y;
}

TEST_F(PanelDrawingTest, KnobShowsItsFrameThroughTheMask) {
    useBackground();
    Knob* knob = addKnob(5, 7);
    openAndPaint();
    struct Shown {
        float value;
        int frame;
    };
    const Shown cases[] = {{0.5f, 31}, {0.0f, 0}, {0.999f, 62}, {1.0f, 63}, {0.25f, 15}};
    for (const Shown& c : cases) {
        SCOPED_TRACE(c.value);
        knob->setValue(c.value, false);
        repaint();
        expectKnob(pixels(), 5, 7, c.frame);
    }
}

TEST_F(PanelDrawingTest, DraggingTheKnobDrawsTheNewFrame) {
    useBackground();
    Knob* knob = addKnob(5, 7);
    openAndPaint();
    gui::sendMouse(WM_LBUTTONDOWN, 9, 11);
    gui::sendMouse(WM_MOUSEMOVE, 9, 1);  // 10 pixels up: 0.55, frame 34
    // No paint in between: the routed message itself draws the dirty knob.
    expectKnob(pixels(), 5, 7, 34);
    gui::sendMouse(WM_LBUTTONUP, 9, 1);
    EXPECT_EQ(knob->getValue(), 0.55f);
    EXPECT_EQ(effect.parameters[0], 0.55f);
}

TEST_F(PanelDrawingTest, LedShowsTheLitFrameFromItsThreshold) {
    useBackground();
    Led* led = addLed(20, 4, 0.5f);
    Led* atZero = addLed(30, 4, 0.0f);
    Led* fresh = addLed(30, 14, 0.3f);
    fresh->paramIndex = 2;  // keeps its start value
    atZero->paramIndex = 3;
    openAndPaint();
    expectLed(pixels(), 30, 4, true);
    expectLed(pixels(), 30, 14, false);

    struct Shown {
        float value;
        bool lit;
    };
    const Shown cases[] = {{0.5f, true}, {0.499f, false}, {0.7f, true}, {1.7f, true}, {0.0f, false}};
    for (const Shown& c : cases) {
        SCOPED_TRACE(c.value);
        // As the effect pushes a value: no paint, only the dirty redraw.
        panel->updateControls(1, c.value);
        panel->redrawDirty();
        EXPECT_EQ(led->getValue(), c.value);
        expectLed(pixels(), 20, 4, c.lit);
    }
}

TEST_F(PanelDrawingTest, LaterControlsAreDrawnOnTop) {
    addLed(10, 10, 2.0f);  // never lit
    addLed(13, 13, 0.0f);  // always lit, overlapping the lower right
    openAndPaint();
    const gui::Pixels shown = pixels();
    EXPECT_EQ(shown.at(14, 14), fixtures::pixelOf(fixtures::ledColour(true, 1, 1)));
    EXPECT_EQ(shown.at(11, 11), fixtures::pixelOf(fixtures::ledColour(false, 1, 1)));
}

TEST_F(PanelDrawingTest, EraseFillsTheShapeWithTheEraseColours) {
    std::vector<std::string> log;
    ProbeControl* box = panel->add(new ProbeControl("box", log, 2, 2, 10, 10));
    box->erase = true;
    ProbeControl* disc = panel->add(new ProbeControl("disc", log, 20, 2, 15, 15));
    disc->erase = true;
    disc->oval = true;
    openAndPaint();
    const gui::Pixels shown = pixels();
    const std::uint32_t erase = gui::pixelOf(RGB(250, 250, 250));
    const std::uint32_t outline = gui::pixelOf(RGB(0, 0, 0));
    struct Probe {
        int x, y;
        std::uint32_t colour;
    };
    const Probe probes[] = {
        {2, 2, erase},     {11, 11, erase},    {12, 12, flatGrey},  // the rectangle excludes right and bottom
        {27, 9, erase},                                              // the disc's centre
        {20, 2, flatGrey}, {34, 16, flatGrey},                       // corners outside the ellipse
        {20, 9, outline},                                            // left end of the outline
    };
    for (const Probe& p : probes) EXPECT_EQ(shown.at(p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST_F(PanelDrawingTest, RedrawDrawsOnlyDirtyControlsAndPaintDrawsAll) {
    std::vector<std::string> log;
    ProbeControl* first = panel->add(new ProbeControl("first", log, 2, 2, 5, 5));
    ProbeControl* second = panel->add(new ProbeControl("second", log, 10, 2, 5, 5));
    first->logDraws = second->logDraws = true;
    openAndPaint();
    EXPECT_FALSE(first->dirty.load());
    EXPECT_FALSE(second->dirty.load());
    // The erase colours: black pen, RGB(250, 250, 250) brush.
    const std::string colours = " 0," + std::to_string(RGB(250, 250, 250));

    log.clear();
    second->dirty = true;
    panel->redrawDirty();
    panel->redrawDirty();
    EXPECT_EQ(log, std::vector<std::string>{"second.draw" + colours});

    log.clear();
    repaint();
    EXPECT_EQ(log, (std::vector<std::string>{"first.draw" + colours, "second.draw" + colours}));
}

TEST_F(PanelDrawingTest, AValuePushedFromAnotherThreadIsDrawnByTheWindowsThread) {
    useBackground();
    Knob* knob = addKnob(5, 7);
    openAndPaint();
    gui::runMessages();

    // Automation from another thread: many pushes, one posted redraw.
    std::thread pusher([this] {
        for (int step = 0; step <= 50; ++step) {
            effect.setParameter(0, 0.4f + 0.01f * static_cast<float>(step));
        }
    });
    pusher.join();
    const float last = 0.4f + 0.01f * 50.0f;
    EXPECT_EQ(knob->getValue(), last);
    expectKnob(pixels(), 5, 7, 31);  // the pushing thread drew nothing

    EXPECT_EQ(gui::runMessages(), 1);
    expectKnob(pixels(), 5, 7, 56);  // int(63 * 0.9)

    // Once drawn, the next push asks again.
    std::thread([this] { effect.setParameter(0, 0.0f); }).join();
    EXPECT_EQ(gui::runMessages(), 1);
    expectKnob(pixels(), 5, 7, 0);
}

TEST_F(PanelDrawingTest, PushesRacingTheWindowsThreadEndWithTheLastValueDrawn) {
    useBackground();
    Knob* knob = addKnob(5, 7);
    Led* led = addLed(20, 4, 0.5f);
    openAndPaint();
    std::atomic<bool> done{false};
    std::thread pusher([&] {
        for (int round = 0; round < 2000; ++round) {
            const float v = static_cast<float>(round % 100) / 100.0f;
            effect.setParameter(0, v);
            effect.setParameter(1, 1.0f - v);
        }
        effect.setParameter(0, 1.0f);
        effect.setParameter(1, 0.2f);
        done = true;
    });
    // Meanwhile the window's thread draws what is posted, and paints.
    while (!done) {
        gui::runMessages();
        repaint();
    }
    pusher.join();
    gui::runMessages();
    EXPECT_EQ(knob->getValue(), 1.0f);
    expectKnob(pixels(), 5, 7, 63);
    expectLed(pixels(), 20, 4, false);
    EXPECT_EQ(led->getValue(), 0.2f);
}

TEST_F(PanelDrawingTest, DrawingDeletesEveryObjectItCreates) {
    useBackground();
    addKnob(5, 7);
    addLed(20, 4, 0.5f);
    std::vector<std::string> log;
    for (bool oval : {false, true}) {
        ProbeControl* erased = panel->add(new ProbeControl("erased", log, 28, 12, 8, 8));
        erased->erase = true;
        erased->oval = oval;
    }
    int before = 0;
    if (!gui::countDrawingObjects(before)) GTEST_SKIP() << "this system keeps no count of drawing objects";
    openAndPaint();
    gui::sendMouse(WM_LBUTTONDOWN, 9, 11);
    gui::sendMouse(WM_MOUSEMOVE, 9, 5);
    gui::sendMouse(WM_LBUTTONUP, 9, 5);
    panel->updateControls(1, 0.9f);
    panel->redrawDirty();
    int after = 0;
    ASSERT_TRUE(gui::countDrawingObjects(after));
    EXPECT_EQ(after, before);
}

TEST_F(PanelDrawingTest, PushesWhileClosedPostNothing) {
    Knob* knob = addKnob(5, 7);
    openAndPaint();
    panel->close();
    gui::runMessages();
    std::thread([this] { effect.setParameter(0, 0.8f); }).join();
    EXPECT_EQ(knob->getValue(), 0.8f);
    EXPECT_EQ(gui::runMessages(), 0);
}

}  // namespace
