// Everything the window layer knows, kept in one place behind one mutex.
// Handles are keys into these tables, never addresses, so a stale or foreign
// handle is recognised and refused rather than followed.
#pragma once

#include "Surface.h"

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

namespace vtplatform::detail {

/// Classes are told apart by their module and their name, ignoring case.
using ClassKey = std::pair<HINSTANCE, std::string>;

struct WindowClass {
    WNDCLASSA description{};
    ATOM atom = 0;
};

struct Window {
    HWND parent = nullptr;
    std::vector<HWND> children;  // bottom of the z-order first
    ClassKey classKey;
    bool hasClass = false;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HBRUSH classBrush = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    int x = 0;  // client-area origin in the parent's client area, or on the screen
    int y = 0;
    Surface surface;
    DWORD thread = 0;
    // The update region, kept as its bounding rectangle.
    bool invalid = false;
    bool eraseRequested = false;
    RECT update{};
    // Set while DestroyWindow runs: the handle still answers, but the window
    // no longer takes input, paints or shows.
    bool destroying = false;
};

enum class ObjectKind { bitmap, pen, brush };

struct GdiObject {
    ObjectKind kind = ObjectKind::bitmap;
    bool stock = false;
    int selections = 0;   // device contexts holding it
    Surface bitmap;
    WORD bitsPerPixel = 32;
    UINT style = 0;       // PS_ or BS_ style
    int penWidth = 1;
    COLORREF colour = 0;
};

struct DeviceContext {
    bool memory = false;
    bool fromPaint = false;
    HWND window = nullptr;
    RECT clip{};  // in the target surface's coordinates
    bool clipped = false;
    HGDIOBJ bitmap = nullptr;
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
};

struct PostedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct State {
    std::mutex mutex;
    std::uintptr_t nextHandle = 0x10000;
    ATOM nextAtom = 0xC000;  // where registered class atoms start on the system

    std::map<ClassKey, WindowClass> classes;
    std::unordered_map<HWND, Window> windows;
    std::vector<HWND> topLevel;  // bottom of the z-order first
    std::unordered_map<HDC, DeviceContext> contexts;
    std::unordered_map<HGDIOBJ, GdiObject> objects;
    std::map<std::pair<HINSTANCE, int>, Surface> bitmapResources;
    std::unordered_map<DWORD, std::deque<PostedMessage>> queues;

    HWND capture = nullptr;
    HWND focus = nullptr;
    bool leftButtonDown = false;

    HCURSOR arrowCursor = nullptr;
    HGDIOBJ defaultBitmap = nullptr;
    HGDIOBJ whitePen = nullptr, blackPen = nullptr, nullPen = nullptr;
    HGDIOBJ whiteBrush = nullptr, blackBrush = nullptr, nullBrush = nullptr;

    template <class Handle>
    Handle newHandle() {
        const std::uintptr_t value = nextHandle;
        nextHandle += 4;  // never reused, so a stale handle can never name a new object
        return reinterpret_cast<Handle>(value);
    }

    Window* findWindow(HWND handle) {
        auto found = windows.find(handle);
        return found == windows.end() ? nullptr : &found->second;
    }
    DeviceContext* findContext(HDC handle) {
        auto found = contexts.find(handle);
        return found == contexts.end() ? nullptr : &found->second;
    }
    GdiObject* findObject(HGDIOBJ handle) {
        auto found = objects.find(handle);
        return found == objects.end() ? nullptr : &found->second;
    }

    /// Shown on screen: the window and all its ancestors are visible.
    bool isShown(HWND handle);
    /// The screen position of the window's client-area origin.
    POINT screenOrigin(HWND handle);
    /// The surface a context draws on, and the clip limited to it.
    Surface* targetOf(const DeviceContext& dc, RECT& clip);
};

/// Enters a window into the tables and on top of its siblings (lock held).
HWND addWindow(State& s, Window window);
/// Removes a device context, letting go of what it holds (lock held).
void releaseContext(State& s, HDC handle);

/// The process-wide state. It is never destroyed, so libraries unloading at
/// exit can still make their calls.
State& state();

/// Calls a window's procedure on the calling thread without holding the lock.
/// Answers 0 when the handle is not a live window.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

std::string lowerCase(const char* text);

}  // namespace vtplatform::detail
