// The test driver over the real window calls.
#include "GuiDriver.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace gui {

namespace {

const char parentClassName[] = "VTTestParent";
// Live parents, newest last; mouse messages are routed in the newest.
std::vector<HWND> parents;

void registerParentClass() {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = parentClassName;
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
}

/// The deepest visible window of the current parent under a screen point.
HWND windowUnder(POINT screen) {
    HWND found = parents.empty() ? nullptr : parents.back();
    if (found == nullptr) return nullptr;
    for (;;) {
        POINT local = screen;
        ScreenToClient(found, &local);
        HWND child = ChildWindowFromPointEx(found, local, CWP_SKIPINVISIBLE);
        if (child == nullptr || child == found) return found;
        found = child;
    }
}

}  // namespace

HINSTANCE testModule() { return GetModuleHandleA(nullptr); }

HWND createParentWindow(int width, int height) {
    registerParentClass();
    // One visible frameless top-level window at the screen's origin holds
    // every parent: taking a top-level window off the display makes the
    // system wait for the display server, seconds per test.
    static HWND const desk =
        CreateWindowExA(0, parentClassName, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1024, 768, nullptr,
                        nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND parent = CreateWindowExA(0, parentClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                                  desk, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (parent != nullptr) {
        // The newest parent lies on top of older ones.
        SetWindowPos(parent, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        parents.push_back(parent);
    }
    runMessages();
    return parent;
}

void destroyParentWindow(HWND parent) {
    DestroyWindow(parent);
    parents.erase(std::remove(parents.begin(), parents.end(), parent), parents.end());
}

void moveParentWindow(HWND parent, int screenX, int screenY) {
    SetWindowPos(parent, nullptr, screenX, screenY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    runMessages();
}

void sendMouse(UINT message, int screenX, int screenY, int wheelDelta) {
    const POINT screen{screenX, screenY};
    if (message == WM_MOUSEWHEEL) {
        HWND target = windowUnder(screen);
        SendMessageA(target, message, MAKEWPARAM(0, static_cast<WORD>(wheelDelta)), MAKELPARAM(screenX, screenY));
        return;
    }
    HWND target = GetCapture();
    if (target == nullptr) target = windowUnder(screen);
    POINT local = screen;
    ScreenToClient(target, &local);
    const WPARAM buttons = message == WM_LBUTTONDOWN ? MK_LBUTTON : 0;
    SendMessageA(target, message, buttons, MAKELPARAM(local.x, local.y));
}

int runMessages() {
    int handled = 0;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        ++handled;
    }
    return handled;
}

bool readPixels(HWND window, Pixels& pixels) {
    RECT client;
    if (!IsWindow(window) || !GetClientRect(window, &client)) return false;
    pixels.width = client.right;
    pixels.height = client.bottom;
    pixels.data.assign(static_cast<std::size_t>(pixels.width * pixels.height), 0);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC windowDc = GetDC(window);
    HDC copy = CreateCompatibleDC(windowDc);
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(copy, target);
    BitBlt(copy, 0, 0, pixels.width, pixels.height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixels.data.size(); ++i) pixels.data[i] = source[i] & 0x00FFFFFFu;
    SelectObject(copy, previous);
    DeleteObject(target);
    DeleteDC(copy);
    ReleaseDC(window, windowDc);
    return true;
}

bool countDrawingObjects(int& count) {
    // Not every system that runs these tests keeps this count reliably.
    count = 0;
    return false;
}

HBITMAP loadBitmap(const std::vector<unsigned char>& bmpFile) {
    // A file image is a file header, then the BITMAPINFO the DIB calls take,
    // then the pixels at the offset the file header names.
    std::uint32_t pixelStart = 0;
    std::memcpy(&pixelStart, bmpFile.data() + 10, sizeof pixelStart);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bmpFile.data() + 14);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    std::memcpy(bits, bmpFile.data() + pixelStart, bmpFile.size() - pixelStart);
    GdiFlush();
    return bitmap;
}

}  // namespace gui
