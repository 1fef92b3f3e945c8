// Window creation and destruction, the per-window values and visibility.
#include "State.h"

#include <algorithm>

using namespace vtplatform::detail;

namespace vtplatform::detail {

void invalidateTree(State& s, HWND handle) {
    Window* w = s.findWindow(handle);
    if (w == nullptr || (w->style & WS_VISIBLE) == 0) return;
    w->invalid = true;
    w->eraseRequested = true;
    w->update = boundsOf(w->surface);
    for (HWND child : w->children) invalidateTree(s, child);
}

void discardWindowsOf(DWORD thread);

// The system destroys a thread's windows when the thread ends. Here they go
// without messages: the ending thread runs no more window code.
struct ThreadWindows {
    ~ThreadWindows() { discardWindowsOf(thread); }
    DWORD thread;
};

HWND addWindow(State& s, Window window) {
    static thread_local const ThreadWindows threadWindows{window.thread};
    (void)threadWindows;
    const HWND handle = s.newHandle<HWND>();
    if (window.parent != nullptr)
        s.findWindow(window.parent)->children.push_back(handle);  // new windows go on top
    else
        s.topLevel.push_back(handle);
    const HWND parent = window.parent;
    s.windows.emplace(handle, std::move(window));
    if (parent == nullptr || s.isShown(parent)) invalidateTree(s, handle);
    return handle;
}

}  // namespace vtplatform::detail

namespace {

bool inSubtree(State& s, HWND root, HWND candidate) {
    for (Window* w = s.findWindow(candidate); w != nullptr; candidate = w->parent, w = s.findWindow(candidate))
        if (candidate == root) return true;
    return false;
}

void markDestroying(State& s, HWND handle) {
    Window* w = s.findWindow(handle);
    w->destroying = true;
    for (HWND child : w->children) markDestroying(s, child);
}

void unlink(State& s, HWND handle) {
    Window* w = s.findWindow(handle);
    std::vector<HWND>& siblings = w->parent != nullptr ? s.findWindow(w->parent)->children : s.topLevel;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    // Messages still queued for it would be dropped when fetched anyway.
    std::deque<PostedMessage>& queue = s.queues[w->thread];
    queue.erase(std::remove_if(queue.begin(), queue.end(), [&](const PostedMessage& m) { return m.window == handle; }),
                queue.end());
    s.windows.erase(handle);
}

void unlinkTree(State& s, HWND handle) {
    const std::vector<HWND> children = s.findWindow(handle)->children;
    for (HWND child : children) unlinkTree(s, child);
    unlink(s, handle);
}

// The system sends WM_DESTROY to a window before its children and WM_NCDESTROY
// after them.
void destroyTree(HWND handle) {
    State& s = state();
    sendMessage(handle, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    {
        std::lock_guard lock(s.mutex);
        children = s.findWindow(handle)->children;
    }
    for (HWND child : children) destroyTree(child);
    sendMessage(handle, WM_NCDESTROY, 0, 0);
    std::lock_guard lock(s.mutex);
    unlink(s, handle);
}

}  // namespace

void vtplatform::detail::discardWindowsOf(DWORD thread) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    std::vector<HWND> roots;
    for (const auto& [handle, w] : s.windows) {
        const Window* parent = s.findWindow(w.parent);
        if (w.thread == thread && (parent == nullptr || parent->thread != thread)) roots.push_back(handle);
    }
    for (HWND root : roots) unlinkTree(s, root);
    if (s.findWindow(s.capture) == nullptr) s.capture = nullptr;
    if (s.findWindow(s.focus) == nullptr) s.focus = nullptr;
    s.queues.erase(thread);
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    if (className == nullptr || IS_INTRESOURCE(className)) return nullptr;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width > largestSurfaceSide || height > largestSurfaceSide) return nullptr;
    State& s = state();
    HWND handle = nullptr;
    {
        std::lock_guard lock(s.mutex);
        const ClassKey key{instance, lowerCase(className)};
        const auto found = s.classes.find(key);
        if (found == s.classes.end()) return nullptr;
        // A child needs a parent, and any parent must be a window of ours: a
        // handle from another windowing system is refused here.
        if ((style & WS_CHILD) != 0 && parent == nullptr) return nullptr;
        if (parent != nullptr) {
            const Window* p = s.findWindow(parent);
            if (p == nullptr || p->destroying) return nullptr;
        }
        Window w;
        w.parent = (style & WS_CHILD) != 0 ? parent : nullptr;  // an owner is not a parent
        w.classKey = key;
        w.hasClass = true;
        w.procedure = found->second.description.lpfnWndProc;
        w.instance = instance;
        w.classBrush = found->second.description.hbrBackground;
        w.style = style;
        w.exStyle = exStyle;
        w.id = (style & WS_CHILD) != 0 ? reinterpret_cast<LONG_PTR>(menu) : 0;
        w.x = x;
        w.y = y;
        w.surface = Surface(width, height);
        w.thread = GetCurrentThreadId();
        handle = addWindow(s, std::move(w));
    }

    CREATESTRUCTA create{};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.cy = height;
    create.cx = width;
    create.y = y;
    create.x = x;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    const LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    if (sendMessage(handle, WM_NCCREATE, 0, createParam) == 0 || sendMessage(handle, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

BOOL WINAPI DestroyWindow(HWND window) {
    State& s = state();
    {
        std::lock_guard lock(s.mutex);
        Window* w = s.findWindow(window);
        // Only the thread that created a window may destroy it.
        if (w == nullptr || w->destroying || w->thread != GetCurrentThreadId()) return FALSE;
        markDestroying(s, window);
        if (inSubtree(s, window, s.capture)) {
            s.capture = nullptr;
            s.leftButtonDown = false;
        }
        if (inSubtree(s, window, s.focus)) s.focus = nullptr;
    }
    destroyTree(window);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND window) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.findWindow(window) != nullptr;
}

HWND WINAPI GetParent(HWND window) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const Window* w = s.findWindow(window);
    return w == nullptr ? nullptr : w->parent;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            if (BeginPaint(window, &paint) != nullptr) EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND: {
            HBRUSH brush = nullptr;
            RECT client{};
            {
                State& s = state();
                std::lock_guard lock(s.mutex);
                if (const Window* w = s.findWindow(window)) {
                    brush = w->classBrush;
                    client = boundsOf(w->surface);
                }
            }
            return brush != nullptr && FillRect(reinterpret_cast<HDC>(wParam), &client, brush) != 0 ? 1 : 0;
        }
        case WM_MOUSEACTIVATE:
        case WM_MOUSEWHEEL: {
            // A child passes these to its parent first.
            const HWND parent = GetParent(window);
            const LRESULT parentResult = parent != nullptr ? sendMessage(parent, message, wParam, lParam) : 0;
            if (message == WM_MOUSEWHEEL) return parentResult;
            return parentResult != 0 ? parentResult : MA_ACTIVATE;
        }
        default: return 0;
    }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    Window* w = s.findWindow(window);
    if (w == nullptr) return 0;
    LONG_PTR previous = 0;
    switch (index) {
        case GWLP_USERDATA: previous = std::exchange(w->userData, value); break;
        case GWLP_ID: previous = std::exchange(w->id, value); break;
        case GWLP_WNDPROC:
            if (value == 0) return 0;
            previous = reinterpret_cast<LONG_PTR>(std::exchange(w->procedure, reinterpret_cast<WNDPROC>(value)));
            break;
        case GWL_STYLE: previous = std::exchange(w->style, static_cast<DWORD>(value)); break;
        case GWL_EXSTYLE: previous = std::exchange(w->exStyle, static_cast<DWORD>(value)); break;
        default: return 0;
    }
    return previous;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const Window* w = s.findWindow(window);
    if (w == nullptr) return 0;
    switch (index) {
        case GWLP_USERDATA: return w->userData;
        case GWLP_ID: return w->id;
        case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->procedure);
        case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
        case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->parent);
        case GWL_STYLE: return static_cast<LONG>(w->style);
        case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
        default: return 0;
    }
}

// The 32-bit calls keep 32 bits: a pointer stored through them on a 64-bit
// build loses its upper half, as it does on the system.
LONG WINAPI SetWindowLongA(HWND window, int index, LONG value) {
    return static_cast<LONG>(SetWindowLongPtrA(window, index, value));
}

LONG WINAPI GetWindowLongA(HWND window, int index) { return static_cast<LONG>(GetWindowLongPtrA(window, index)); }

BOOL WINAPI ShowWindow(HWND window, int command) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    Window* w = s.findWindow(window);
    if (w == nullptr) return FALSE;
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    if (command == SW_HIDE) {
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    } else if (!wasVisible) {
        w->style |= WS_VISIBLE;
        if (w->parent == nullptr || s.isShown(w->parent)) invalidateTree(s, window);
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND window) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.isShown(window) ? TRUE : FALSE;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const Window* w = s.findWindow(window);
    if (w == nullptr || rect == nullptr) return FALSE;
    *rect = boundsOf(w->surface);
    return TRUE;
}
