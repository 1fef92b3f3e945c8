// Mouse input from the host: routing to the window under the pointer,
// capture, the wheel, activation, focus and coordinates.
#include "PlatformFixtures.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using fixtures::Recorder;
using fixtures::TestClass;

short xOf(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
short yOf(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

// A host window at screen (100, 50) holding, in creation order:
//   a  at (10, 10), 20 × 20, with b at (5, 5), 5 × 5, inside it;
//   c  at (25, 10), 10 × 10, over a's right edge;
//   a hidden window covering everything.
// The host's procedure is replaced by the recording one.
class Routing : public testing::Test {
protected:
    void SetUp() override {
        host = vtplatform::createHostWindow(60, 40);
        vtplatform::setWindowScreenPosition(host, 100, 50);
        SetWindowLongPtrA(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(fixtures::recordingProc));
        a = panel.child(host, 10, 10, 20, 20);
        b = panel.child(a, 5, 5, 5, 5);
        c = panel.child(host, 25, 10, 10, 10);
        hidden = panel.child(host, 0, 0, 60, 40, WS_CHILD);
        vtplatform::runPostedMessages();
        Recorder::get().take();
    }
    void TearDown() override {
        ReleaseCapture();
        vtplatform::deliverMouse(WM_LBUTTONUP, 0, 0);
        DestroyWindow(host);
        Recorder::get().take();
    }

    TestClass panel;
    HWND host = nullptr, a = nullptr, b = nullptr, c = nullptr, hidden = nullptr;
};

TEST_F(Routing, PointerMessagesGoToTheDeepestVisibleWindowWithClientCoordinates) {
    struct Case {
        const char* what;
        int screenX, screenY;
        HWND target;
        int clientX, clientY;
    };
    const Case cases[] = {
        {"inside a", 112, 62, a, 2, 2},
        {"a's top-left pixel", 110, 60, a, 0, 0},
        {"inside b, inside a", 116, 66, b, 1, 1},
        {"b's last pixel", 119, 69, b, 4, 4},
        {"just past b", 120, 70, a, 10, 10},
        {"where c lies over a", 126, 62, c, 1, 2},
        {"host only", 101, 51, host, 1, 1},
    };
    for (const Case& k : cases) {
        for (UINT message : {static_cast<UINT>(WM_MOUSEMOVE), static_cast<UINT>(WM_LBUTTONUP)}) {
            EXPECT_TRUE(vtplatform::deliverMouse(message, k.screenX, k.screenY)) << k.what;
            const auto received = Recorder::get().take(message);
            ASSERT_EQ(received.size(), 1u) << k.what;
            EXPECT_EQ(received[0].window, k.target) << k.what;
            EXPECT_EQ(xOf(received[0].lParam), k.clientX) << k.what;
            EXPECT_EQ(yOf(received[0].lParam), k.clientY) << k.what;
            EXPECT_EQ(received[0].thread, GetCurrentThreadId()) << "sent on the calling thread";
        }
    }
    EXPECT_FALSE(vtplatform::deliverMouse(WM_MOUSEMOVE, 99, 50)) << "left of the host";
    EXPECT_FALSE(vtplatform::deliverMouse(WM_MOUSEMOVE, 160, 90)) << "past the host";
    EXPECT_TRUE(Recorder::get().take().empty());
}

TEST_F(Routing, APressActivatesFirstAndTheButtonStateTravelsInWParam) {
    vtplatform::deliverMouse(WM_LBUTTONDOWN, 116, 66);
    vtplatform::deliverMouse(WM_MOUSEMOVE, 117, 66);
    vtplatform::deliverMouse(WM_LBUTTONUP, 117, 66);
    vtplatform::deliverMouse(WM_MOUSEMOVE, 118, 66);
    const auto messages = Recorder::get().take();
    // b asks its parents about activation through the default procedure.
    struct Expected {
        HWND window;
        UINT message;
        WPARAM wParam;
    };
    const Expected expected[] = {
        {b, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(host)},
        {a, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(host)},
        {host, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(host)},
        {b, WM_LBUTTONDOWN, MK_LBUTTON},
        {b, WM_MOUSEMOVE, MK_LBUTTON},
        {b, WM_LBUTTONUP, 0},
        {b, WM_MOUSEMOVE, 0},
    };
    ASSERT_EQ(messages.size(), std::size(expected));
    for (std::size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].window, expected[i].window) << i;
        EXPECT_EQ(messages[i].message, expected[i].message) << i;
        EXPECT_EQ(messages[i].wParam, expected[i].wParam) << i;
    }
    EXPECT_EQ(LOWORD(messages[0].lParam), HTCLIENT);
    EXPECT_EQ(HIWORD(messages[0].lParam), WM_LBUTTONDOWN);
}

LRESULT CALLBACK eatActivation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MOUSEACTIVATE) return fixtures::recordingProc(window, message, wParam, lParam);
    fixtures::record(window, message, wParam, lParam);
    return MA_NOACTIVATEANDEAT;
}

TEST_F(Routing, APressEatenAtActivationIsNotDelivered) {
    TestClass eating(eatActivation);
    HWND eater = eating.child(host, 40, 20, 10, 10);
    Recorder::get().take();
    vtplatform::deliverMouse(WM_LBUTTONDOWN, 142, 72);
    const auto messages = Recorder::get().take();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].window, eater);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_MOUSEACTIVATE));
}

TEST_F(Routing, CaptureTakesEveryPointerMessageWhereverThePointerIs) {
    EXPECT_EQ(SetCapture(b), nullptr);
    EXPECT_EQ(GetCapture(), b);
    struct Case {
        UINT message;
        int screenX, screenY;
    };
    // b's client origin is at screen (115, 65).
    const Case cases[] = {
        {WM_MOUSEMOVE, 126, 62},   // over c
        {WM_LBUTTONDOWN, 101, 51},  // over the host only
        {WM_MOUSEMOVE, 0, 0},      // outside every window
        {WM_LBUTTONUP, 400, 300},
    };
    for (const Case& k : cases) {
        EXPECT_TRUE(vtplatform::deliverMouse(k.message, k.screenX, k.screenY));
        const auto received = Recorder::get().take();
        ASSERT_EQ(received.size(), 1u) << "no activation while captured";
        EXPECT_EQ(received[0].window, b);
        EXPECT_EQ(received[0].message, k.message);
        EXPECT_EQ(xOf(received[0].lParam), k.screenX - 115);
        EXPECT_EQ(yOf(received[0].lParam), k.screenY - 65);
    }
    EXPECT_TRUE(ReleaseCapture());
    const auto changed = Recorder::get().take();
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].window, b);
    EXPECT_EQ(changed[0].message, static_cast<UINT>(WM_CAPTURECHANGED));
    EXPECT_EQ(GetCapture(), nullptr);
    vtplatform::deliverMouse(WM_MOUSEMOVE, 126, 62);
    EXPECT_EQ(Recorder::get().take(WM_MOUSEMOVE).at(0).window, c) << "routing by position again";
}

TEST_F(Routing, CaptureMovesBetweenWindowsAndEndsWithTheWindow) {
    SetCapture(a);
    EXPECT_EQ(SetCapture(c), a);
    const auto changed = Recorder::get().take(WM_CAPTURECHANGED);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].window, a);
    EXPECT_EQ(changed[0].lParam, reinterpret_cast<LPARAM>(c));
    HWND captureElsewhere = reinterpret_cast<HWND>(1);
    std::thread([&] { captureElsewhere = GetCapture(); }).join();
    EXPECT_EQ(captureElsewhere, nullptr) << "another thread sees no capture of its own";

    DestroyWindow(c);
    EXPECT_EQ(GetCapture(), nullptr);
    Recorder::get().take();
    vtplatform::deliverMouse(WM_MOUSEMOVE, 112, 62);
    EXPECT_EQ(Recorder::get().take(WM_MOUSEMOVE).at(0).window, a);
    EXPECT_EQ(SetCapture(reinterpret_cast<HWND>(0x1234)), nullptr);
    EXPECT_EQ(GetCapture(), nullptr) << "a handle that is not a window";
}

TEST_F(Routing, WheelGoesToTheWindowUnderThePointerWithScreenCoordinatesAndTheDelta) {
    SetCapture(c);  // the wheel ignores the capture
    Recorder::get().take();
    for (int delta : {120, -120, 240, 30}) {
        EXPECT_TRUE(vtplatform::deliverMouse(WM_MOUSEWHEEL, 116, 66, delta));
        const auto received = Recorder::get().take(WM_MOUSEWHEEL);
        // b gets it first; the default procedure hands it up to the parents.
        ASSERT_EQ(received.size(), 3u) << delta;
        EXPECT_EQ(received[0].window, b);
        EXPECT_EQ(received[1].window, a);
        EXPECT_EQ(received[2].window, host);
        EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(received[0].wParam), delta);
        EXPECT_EQ(xOf(received[0].lParam), 116);
        EXPECT_EQ(yOf(received[0].lParam), 66);
    }
    EXPECT_FALSE(vtplatform::deliverMouse(WM_MOUSEWHEEL, 10, 10, 120)) << "no window there";
}

TEST_F(Routing, CoordinatesConvertThroughEveryParent) {
    POINT p{116, 66};
    ASSERT_TRUE(ScreenToClient(b, &p));
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 1);
    ASSERT_TRUE(ClientToScreen(b, &p));
    EXPECT_EQ(p.x, 116);
    EXPECT_EQ(p.y, 66);
    // Moving the host moves everything in it.
    vtplatform::setWindowScreenPosition(host, 0, 0);
    p = POINT{16, 16};
    ScreenToClient(b, &p);
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 1);
    // A child placed by screen position keeps its parent.
    vtplatform::setWindowScreenPosition(b, 40, 30);
    EXPECT_EQ(GetParent(b), a);
    p = POINT{41, 31};
    ScreenToClient(b, &p);
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 1);
    EXPECT_FALSE(ScreenToClient(reinterpret_cast<HWND>(0x1234), &p));
    EXPECT_FALSE(ScreenToClient(b, nullptr));
}

TEST_F(Routing, FocusMovesWithNoticeToBothWindows) {
    SetFocus(nullptr);
    Recorder::get().take();
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(SetFocus(c), a);
    EXPECT_EQ(GetFocus(), c);
    const auto messages = Recorder::get().take();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].window, a);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_SETFOCUS));
    EXPECT_EQ(messages[1].window, a);
    EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_KILLFOCUS));
    EXPECT_EQ(messages[1].wParam, reinterpret_cast<WPARAM>(c));
    EXPECT_EQ(messages[2].window, c);
    EXPECT_EQ(messages[2].message, static_cast<UINT>(WM_SETFOCUS));
    EXPECT_EQ(messages[2].wParam, reinterpret_cast<WPARAM>(a));
    EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x1234)), nullptr);
    EXPECT_EQ(GetFocus(), c) << "a handle that is not a window changes nothing";
    HWND focusElsewhere = reinterpret_cast<HWND>(1);
    std::thread([&] { focusElsewhere = GetFocus(); }).join();
    EXPECT_EQ(focusElsewhere, nullptr);
    DestroyWindow(c);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST(Cursors, OnlyTheSystemArrowLoads) {
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    EXPECT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    EXPECT_EQ(LoadCursorA(fixtures::freshModule(), IDC_ARROW), nullptr) << "libraries have no cursors";
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
}

}  // namespace
