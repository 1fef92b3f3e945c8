// Window classes, creation and destruction, per-window values, painting and
// what the host reads back from windows.
#include "PlatformFixtures.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using fixtures::Recorder;
using fixtures::TestClass;

std::vector<UINT> kinds(const std::vector<fixtures::Message>& messages) {
    std::vector<UINT> result;
    for (const auto& m : messages) result.push_back(m.message);
    return result;
}

TEST(WindowClasses, AreKeyedByModuleAndNameIgnoringCase) {
    const int before = vtplatform::registeredClassCount();
    const HINSTANCE a = fixtures::freshModule();
    const HINSTANCE b = fixtures::freshModule();
    WNDCLASSA description{};
    description.lpfnWndProc = fixtures::recordingProc;
    description.hInstance = a;
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.lpszClassName = "VTGui";
    EXPECT_NE(RegisterClassA(&description), 0);
    EXPECT_EQ(RegisterClassA(&description), 0) << "registered twice";
    description.lpszClassName = "vtgui";
    EXPECT_EQ(RegisterClassA(&description), 0) << "same name in other case";
    description.hInstance = b;
    EXPECT_NE(RegisterClassA(&description), 0) << "same name, other module";
    EXPECT_EQ(vtplatform::registeredClassCount(), before + 2);

    WNDCLASSA found{};
    ASSERT_TRUE(GetClassInfoA(a, "VTGUI", &found));
    EXPECT_EQ(found.lpfnWndProc, fixtures::recordingProc);
    EXPECT_EQ(found.hInstance, a);
    EXPECT_EQ(found.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(found.hbrBackground, nullptr);
    EXPECT_FALSE(GetClassInfoA(fixtures::freshModule(), "VTGui", &found));

    EXPECT_TRUE(UnregisterClassA("VTGui", a));
    EXPECT_FALSE(GetClassInfoA(a, "VTGui", &found));
    EXPECT_TRUE(GetClassInfoA(b, "VTGui", &found)) << "the other module's class stays";
    EXPECT_FALSE(UnregisterClassA("VTGui", a)) << "removed twice";
    EXPECT_TRUE(UnregisterClassA("vtGUI", b));
    EXPECT_EQ(vtplatform::registeredClassCount(), before);
}

TEST(WindowClasses, IncompleteDescriptionsAreRefused) {
    const int before = vtplatform::registeredClassCount();
    WNDCLASSA noProcedure{};
    noProcedure.lpszClassName = "A";
    WNDCLASSA noName{};
    noName.lpfnWndProc = fixtures::recordingProc;
    WNDCLASSA emptyName = noName;
    emptyName.lpszClassName = "";
    for (const WNDCLASSA* description : {&noProcedure, &noName, &emptyName})
        EXPECT_EQ(RegisterClassA(description), 0);
    EXPECT_EQ(RegisterClassA(nullptr), 0);
    EXPECT_EQ(vtplatform::registeredClassCount(), before);
}

TEST(WindowClasses, CannotBeRemovedWhileOneOfItsWindowsExists) {
    TestClass panel;
    HWND host = vtplatform::createHostWindow(20, 20);
    HWND child = panel.child(host, 0, 0, 5, 5);
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(UnregisterClassA(panel.name, panel.module));
    DestroyWindow(host);
    EXPECT_TRUE(UnregisterClassA(panel.name, panel.module));
}

TEST(CreateWindow, RefusesUnknownClassesAndParentsThatAreNotWindows) {
    TestClass panel;
    HWND host = vtplatform::createHostWindow(20, 20);
    HWND gone = vtplatform::createHostWindow(5, 5);
    DestroyWindow(gone);
    int foreignWindow = 0;  // what another windowing system might hand over
    struct Case {
        const char* what;
        const char* className;
        HINSTANCE module;
        DWORD style;
        HWND parent;
    };
    const Case cases[] = {
        {"unknown class", "Nothing", panel.module, WS_CHILD, host},
        {"class of another module", panel.name, fixtures::freshModule(), WS_CHILD, host},
        {"child without a parent", panel.name, panel.module, WS_CHILD, nullptr},
        {"parent from elsewhere", panel.name, panel.module, WS_CHILD, reinterpret_cast<HWND>(&foreignWindow)},
        {"small number as parent", panel.name, panel.module, WS_CHILD, reinterpret_cast<HWND>(0x1234)},
        {"destroyed parent", panel.name, panel.module, WS_CHILD, gone},
        {"owner from elsewhere", panel.name, panel.module, WS_POPUP, reinterpret_cast<HWND>(&foreignWindow)},
    };
    const int windowsBefore = vtplatform::windowCount();
    Recorder::get().take();
    for (const Case& c : cases) {
        EXPECT_EQ(CreateWindowExA(0, c.className, nullptr, c.style, 0, 0, 5, 5, c.parent, nullptr, c.module, nullptr),
                  nullptr)
            << c.what;
        EXPECT_TRUE(Recorder::get().take().empty()) << c.what << ": the procedure was called";
    }
    EXPECT_EQ(vtplatform::windowCount(), windowsBefore);
    DestroyWindow(host);
}

CREATESTRUCTA createdWith{};

// Keeps a copy of the creation record, which lives only during the call.
LRESULT CALLBACK keepCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) createdWith = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
    return fixtures::recordingProc(window, message, wParam, lParam);
}

TEST(CreateWindow, SendsCreationMessagesBeforeReturning) {
    TestClass panel(keepCreation);
    HWND host = vtplatform::createHostWindow(20, 20);
    Recorder::get().take();
    int creationData = 0;
    HWND child = CreateWindowExA(0, panel.name, nullptr, WS_CHILD, 1, 2, 5, 6, host, nullptr, panel.module,
                                 &creationData);
    ASSERT_NE(child, nullptr);
    const auto messages = Recorder::get().take();
    ASSERT_EQ(kinds(messages), (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
    EXPECT_EQ(messages[0].window, child);
    EXPECT_EQ(createdWith.lpCreateParams, &creationData);
    EXPECT_EQ(createdWith.hwndParent, host);
    EXPECT_EQ(createdWith.hInstance, panel.module);
    EXPECT_EQ(createdWith.x, 1);
    EXPECT_EQ(createdWith.y, 2);
    EXPECT_EQ(createdWith.cx, 5);
    EXPECT_EQ(createdWith.cy, 6);
    EXPECT_EQ(GetParent(child), host);
    RECT client{};
    ASSERT_TRUE(GetClientRect(child, &client));
    EXPECT_EQ(client.right, 5);
    EXPECT_EQ(client.bottom, 6);
    EXPECT_FALSE(IsWindowVisible(child)) << "created without WS_VISIBLE";
    DestroyWindow(host);
}

LRESULT CALLBACK refuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) return FALSE;
    return DefWindowProcA(window, message, wParam, lParam);
}
LRESULT CALLBACK failCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return -1;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(CreateWindow, FailsWhenTheProcedureRefusesCreation) {
    HWND host = vtplatform::createHostWindow(20, 20);
    const int windowsBefore = vtplatform::windowCount();
    for (WNDPROC procedure : {refuseCreation, failCreate}) {
        TestClass panel(procedure);
        EXPECT_EQ(panel.child(host, 0, 0, 5, 5), nullptr);
        EXPECT_EQ(vtplatform::windowCount(), windowsBefore);
    }
    DestroyWindow(host);
}

TEST(DestroyWindow, DestroysChildrenWithTheWindowInTheSystemsOrder) {
    TestClass panel;
    HWND host = vtplatform::createHostWindow(20, 20);
    HWND parent = panel.child(host, 0, 0, 10, 10);
    HWND child = panel.child(parent, 0, 0, 5, 5);
    Recorder::get().take();
    EXPECT_TRUE(DestroyWindow(parent));
    const auto messages = Recorder::get().take();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].window, parent);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(messages[1].window, child);
    EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(messages[2].window, child);
    EXPECT_EQ(messages[2].message, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(messages[3].window, parent);
    EXPECT_EQ(messages[3].message, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_TRUE(IsWindow(host));
    EXPECT_FALSE(DestroyWindow(parent)) << "destroyed twice";
    DestroyWindow(host);
}

TEST(DestroyWindow, OnlyTheCreatingThreadMayDestroy) {
    HWND host = vtplatform::createHostWindow(20, 20);
    BOOL destroyedElsewhere = TRUE;
    std::thread([&] { destroyedElsewhere = DestroyWindow(host); }).join();
    EXPECT_FALSE(destroyedElsewhere);
    EXPECT_TRUE(IsWindow(host));
    EXPECT_TRUE(DestroyWindow(host));
}

TEST(WindowValues, UserDataKeepsAWholePointerThroughThePointerSizedCalls) {
    TestClass panel;
    HWND host = vtplatform::createHostWindow(20, 20);
    HWND child = panel.child(host, 0, 0, 5, 5);
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_USERDATA), 0) << "a new window holds none";
    // A value with bits above the low 32, as a heap address has on 64-bit systems.
    const LONG_PTR wide = static_cast<LONG_PTR>(sizeof(LONG_PTR) > 4 ? 0x12345678ABCDEF0LL : 0x1234ABCDL);
    EXPECT_EQ(SetWindowLongPtrA(child, GWLP_USERDATA, wide), 0);
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_USERDATA), wide);
    EXPECT_EQ(SetWindowLongPtrA(child, GWLP_USERDATA, 5), wide) << "answers the previous value";
    EXPECT_EQ(GetWindowLongPtrA(host, GWLP_USERDATA), 0) << "each window has its own";

    // The 32-bit calls keep only 32 bits, as they do on the system.
    SetWindowLongA(child, GWL_USERDATA, 0x7BCDEF01);
    EXPECT_EQ(GetWindowLongA(child, GWL_USERDATA), 0x7BCDEF01);
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_USERDATA), 0x7BCDEF01);

    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_HINSTANCE), reinterpret_cast<LONG_PTR>(panel.module));
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(fixtures::recordingProc));
    DestroyWindow(host);
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_USERDATA), 0) << "a destroyed window";
}

// Paints its client area in the colour kept in its user data.
LRESULT CALLBACK paintInColour(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return fixtures::recordingProc(window, message, wParam, lParam);
    fixtures::record(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA)));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
}

// Answers WM_PAINT without validating.
LRESULT CALLBACK ignorePaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    fixtures::record(window, message, wParam, lParam);
    return message == WM_PAINT ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

TEST(Painting, ShowingAWindowMakesItPaintOnceWhenItsThreadRunsMessages) {
    TestClass panel(paintInColour);
    HWND host = vtplatform::createHostWindow(20, 20);
    vtplatform::runPostedMessages();
    HWND child = panel.child(host, 0, 0, 5, 5, WS_CHILD);
    vtplatform::runPostedMessages();
    EXPECT_TRUE(Recorder::get().take(WM_PAINT).empty()) << "painted while hidden";
    EXPECT_FALSE(ShowWindow(child, SW_SHOW)) << "was hidden";
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_EQ(vtplatform::runPostedMessages(), 1);
    EXPECT_EQ(Recorder::get().take(WM_PAINT).size(), 1u);
    EXPECT_EQ(vtplatform::runPostedMessages(), 0) << "painting validated it";
    EXPECT_TRUE(ShowWindow(child, SW_SHOW)) << "was visible";
    EXPECT_EQ(vtplatform::runPostedMessages(), 0) << "showing a visible window";
    DestroyWindow(host);
}

TEST(Painting, InvalidationPaintsTheUnionAndClipsDrawingToIt) {
    TestClass panel(paintInColour);
    HWND host = vtplatform::createHostWindow(20, 20);
    HWND child = panel.child(host, 0, 0, 10, 10);
    SetWindowLongPtrA(child, GWLP_USERDATA, RGB(0, 0, 255));
    vtplatform::runPostedMessages();
    Recorder::get().take();
    SetWindowLongPtrA(child, GWLP_USERDATA, RGB(255, 0, 0));
    const RECT first{1, 1, 3, 3};
    const RECT second{4, 2, 6, 5};
    InvalidateRect(child, &first, FALSE);
    InvalidateRect(child, &second, FALSE);
    EXPECT_EQ(vtplatform::runPostedMessages(), 1) << "one WM_PAINT for both";
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            // The update region is kept as the rectangle around both.
            const bool updated = x >= 1 && x < 6 && y >= 1 && y < 5;
            EXPECT_EQ(fixtures::pixelAt(child, x, y), updated ? 0xFF0000u : 0x0000FFu) << x << "," << y;
        }
    DestroyWindow(host);
}

TEST(Painting, UpdateWindowPaintsAtOnceAndAnUnvalidatedWindowPaintsAgain) {
    TestClass painter(paintInColour);
    TestClass lazy(ignorePaint);
    HWND host = vtplatform::createHostWindow(20, 20);
    HWND painted = painter.child(host, 0, 0, 5, 5);
    HWND ignoring = lazy.child(host, 5, 0, 5, 5);
    vtplatform::runPostedMessages();
    Recorder::get().take();

    InvalidateRect(painted, nullptr, FALSE);
    EXPECT_TRUE(UpdateWindow(painted));
    EXPECT_EQ(Recorder::get().take(WM_PAINT).size(), 1u);
    EXPECT_TRUE(UpdateWindow(painted));
    EXPECT_TRUE(Recorder::get().take(WM_PAINT).empty()) << "nothing invalid";

    // Not validating leaves the window invalid for the next round, once a round.
    EXPECT_EQ(vtplatform::runPostedMessages(), 1);
    EXPECT_EQ(vtplatform::runPostedMessages(), 1);
    const auto paints = Recorder::get().take(WM_PAINT);
    ASSERT_EQ(paints.size(), 2u);
    EXPECT_EQ(paints[0].window, ignoring);
    ValidateRect(ignoring, nullptr);
    EXPECT_EQ(vtplatform::runPostedMessages(), 0);
    DestroyWindow(host);
}

TEST(Painting, BeginPaintWithNothingInvalidDrawsNothing) {
    HWND host = vtplatform::createHostWindow(4, 4);
    vtplatform::runPostedMessages();
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(host, &paint);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(paint.rcPaint.right - paint.rcPaint.left, 0);
    HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    RECT all{0, 0, 4, 4};
    FillRect(dc, &all, brush);
    EndPaint(host, &paint);
    DeleteObject(brush);
    EXPECT_EQ(fixtures::pixelAt(host, 1, 1), 0u);
    DestroyWindow(host);
}

TEST(WindowDeviceContexts, DrawOnTheWindowFromAnyThreadAndGoBackWithReleaseDC) {
    const int objectsBefore = vtplatform::gdiObjectCount();
    HWND host = vtplatform::createHostWindow(4, 4);
    std::thread([&] {
        HDC dc = GetDC(host);
        SetPixel(dc, 2, 1, RGB(1, 2, 3));
        EXPECT_EQ(ReleaseDC(host, dc), 1);
        EXPECT_EQ(ReleaseDC(host, dc), 0) << "released twice";
    }).join();
    EXPECT_EQ(fixtures::pixelAt(host, 2, 1), 0x010203u);
    HDC dc = GetDC(host);
    EXPECT_FALSE(DeleteDC(dc)) << "a window's context is released, not deleted";
    DestroyWindow(host);
    EXPECT_EQ(SetPixel(dc, 0, 0, RGB(1, 1, 1)), CLR_INVALID) << "the window is gone";
    EXPECT_EQ(ReleaseDC(host, dc), 1);
    EXPECT_EQ(GetDC(host), nullptr);
    EXPECT_EQ(GetDC(nullptr), nullptr);
    EXPECT_EQ(vtplatform::gdiObjectCount(), objectsBefore);
}

TEST(ReadWindowPixels, CompositesVisibleChildrenInZOrderClippedToTheirParents) {
    TestClass panel(paintInColour);
    HWND host = vtplatform::createHostWindow(12, 8);
    // Created in this order, so each is over the ones before.
    HWND lower = panel.child(host, 1, 1, 6, 4);
    HWND upper = panel.child(host, 4, 2, 6, 4);
    HWND nested = panel.child(upper, 4, 1, 5, 2);  // hangs past the upper window's right edge
    HWND hidden = panel.child(host, 0, 0, 12, 8, WS_CHILD);
    SetWindowLongPtrA(lower, GWLP_USERDATA, RGB(0x11, 0, 0));
    SetWindowLongPtrA(upper, GWLP_USERDATA, RGB(0, 0x22, 0));
    SetWindowLongPtrA(nested, GWLP_USERDATA, RGB(0, 0, 0x33));
    SetWindowLongPtrA(hidden, GWLP_USERDATA, RGB(0x44, 0x44, 0x44));
    vtplatform::runPostedMessages();

    const std::vector<std::string> expected = {
        "............",
        ".LLLLLL.....",
        ".LLLUUUUUU..",
        ".LLLUUUUNN..",
        ".LLLUUUUNN..",
        "....UUUUUU..",
        "............",
        "............",
    };
    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;
    ASSERT_TRUE(vtplatform::readWindowPixels(host, pixels, width, height));
    ASSERT_EQ(width, 12);
    ASSERT_EQ(height, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            const char c = expected[y][x];
            const std::uint32_t colour = c == 'L' ? 0x110000 : c == 'U' ? 0x002200 : c == 'N' ? 0x000033 : 0;
            EXPECT_EQ(pixels[static_cast<std::size_t>(y * 12 + x)], colour) << x << "," << y;
        }
    // A child read on its own shows only itself and its children.
    EXPECT_EQ(fixtures::pixelAt(upper, 0, 0), 0x002200u);
    EXPECT_EQ(fixtures::pixelAt(upper, 4, 1), 0x000033u);
    DestroyWindow(host);
    EXPECT_FALSE(vtplatform::readWindowPixels(host, pixels, width, height));
}

}  // namespace
