// Mouse capture, focus, coordinates, the cursor, and mouse input from the host.
#include "State.h"

#include <vtplatform/PlatformHost.h>

using namespace vtplatform::detail;

namespace {

bool takesInput(const Window& w) { return (w.style & WS_VISIBLE) != 0 && !w.destroying; }

// The deepest window at a screen point, starting from a window that takes input.
HWND deepestAt(State& s, HWND handle, int screenX, int screenY) {
    const Window& w = *s.findWindow(handle);
    const POINT origin = s.screenOrigin(handle);
    if (screenX < origin.x || screenY < origin.y || screenX >= origin.x + w.surface.width ||
        screenY >= origin.y + w.surface.height)
        return nullptr;
    for (auto child = w.children.rbegin(); child != w.children.rend(); ++child) {
        if (!takesInput(*s.findWindow(*child))) continue;
        if (HWND found = deepestAt(s, *child, screenX, screenY)) return found;
    }
    return handle;
}

HWND windowAt(State& s, int screenX, int screenY) {
    for (auto top = s.topLevel.rbegin(); top != s.topLevel.rend(); ++top) {
        if (!takesInput(*s.findWindow(*top))) continue;
        if (HWND found = deepestAt(s, *top, screenX, screenY)) return found;
    }
    return nullptr;
}

HWND topLevelOf(State& s, HWND handle) {
    while (Window* w = s.findWindow(handle)) {
        if (w->parent == nullptr) break;
        handle = w->parent;
    }
    return handle;
}

// Coordinates travel as two signed 16-bit words.
LPARAM pointParam(int x, int y) { return MAKELPARAM(static_cast<short>(x), static_cast<short>(y)); }

bool ownedByCaller(State& s, HWND handle) {
    const Window* w = s.findWindow(handle);
    return w != nullptr && w->thread == GetCurrentThreadId();
}

}  // namespace

HWND WINAPI SetCapture(HWND window) {
    State& s = state();
    HWND previous = nullptr;
    {
        std::lock_guard lock(s.mutex);
        const Window* w = s.findWindow(window);
        if (w == nullptr || w->destroying) return nullptr;
        previous = std::exchange(s.capture, window);
    }
    if (previous != nullptr && previous != window)
        sendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    return previous;
}

BOOL WINAPI ReleaseCapture() {
    State& s = state();
    HWND previous = nullptr;
    {
        std::lock_guard lock(s.mutex);
        previous = std::exchange(s.capture, nullptr);
    }
    if (previous != nullptr) sendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

// Capture and focus belong to a thread: other threads see none.
HWND WINAPI GetCapture() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return ownedByCaller(s, s.capture) ? s.capture : nullptr;
}

HWND WINAPI SetFocus(HWND window) {
    State& s = state();
    HWND previous = nullptr;
    {
        std::lock_guard lock(s.mutex);
        if (window != nullptr) {
            const Window* w = s.findWindow(window);
            if (w == nullptr || w->destroying) return nullptr;
        }
        previous = std::exchange(s.focus, window);
    }
    if (previous != window) {
        if (previous != nullptr) sendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
        if (window != nullptr) sendMessage(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND WINAPI GetFocus() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return ownedByCaller(s, s.focus) ? s.focus : nullptr;
}

BOOL WINAPI ScreenToClient(HWND window, LPPOINT point) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (point == nullptr || s.findWindow(window) == nullptr) return FALSE;
    const POINT origin = s.screenOrigin(window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND window, LPPOINT point) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (point == nullptr || s.findWindow(window) == nullptr) return FALSE;
    const POINT origin = s.screenOrigin(window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
    // Only the system's arrow exists; libraries carry no cursors.
    if (instance != nullptr || cursorName != IDC_ARROW) return nullptr;
    return state().arrowCursor;
}

bool vtplatform::deliverMouse(UINT message, int screenX, int screenY, int wheelDelta) {
    if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_LBUTTONUP && message != WM_MOUSEWHEEL)
        return false;
    State& s = state();
    HWND target = nullptr;
    HWND activate = nullptr;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LPARAM activateParam = 0;
    {
        std::lock_guard lock(s.mutex);
        const bool captured = message != WM_MOUSEWHEEL && s.findWindow(s.capture) != nullptr;
        // The button changes state even where no window sees it.
        if (message == WM_LBUTTONDOWN) s.leftButtonDown = true;
        if (message == WM_LBUTTONUP) s.leftButtonDown = false;
        target = captured ? s.capture : windowAt(s, screenX, screenY);
        if (target == nullptr) return false;
        const WORD keys = s.leftButtonDown ? MK_LBUTTON : 0;
        if (message == WM_MOUSEWHEEL) {
            wParam = MAKEWPARAM(keys, static_cast<short>(wheelDelta));
            lParam = pointParam(screenX, screenY);
        } else {
            const POINT origin = s.screenOrigin(target);
            wParam = keys;
            lParam = pointParam(screenX - origin.x, screenY - origin.y);
        }
        if (message == WM_LBUTTONDOWN && !captured) {
            activate = topLevelOf(s, target);
            activateParam = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);
        }
    }
    if (activate != nullptr) {
        const LRESULT answer = sendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(activate), activateParam);
        if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return true;
    }
    sendMessage(target, message, wParam, lParam);
    return true;
}
