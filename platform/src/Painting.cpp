// Invalidation, WM_PAINT and the device contexts of windows.
#include "State.h"

using namespace vtplatform::detail;

namespace {

void invalidate(Window& w, const RECT* rect, BOOL erase) {
    const RECT client = boundsOf(w.surface);
    const RECT area = rect == nullptr ? client : intersect(*rect, client);
    if (isEmpty(area)) return;
    w.update = w.invalid ? unite(w.update, area) : area;
    w.invalid = true;
    if (erase) w.eraseRequested = true;
}

void validate(Window& w) {
    w.invalid = false;
    w.eraseRequested = false;
    w.update = RECT{};
}

HDC newWindowContext(State& s, HWND window, bool fromPaint, const RECT* clip) {
    DeviceContext dc;
    dc.window = window;
    dc.fromPaint = fromPaint;
    dc.clipped = clip != nullptr;
    if (clip != nullptr) dc.clip = *clip;
    dc.pen = s.blackPen;
    dc.brush = s.whiteBrush;
    s.objects[dc.pen].selections++;
    s.objects[dc.brush].selections++;
    const HDC handle = s.newHandle<HDC>();
    s.contexts.emplace(handle, dc);
    return handle;
}

}  // namespace

namespace vtplatform::detail {

void releaseContext(State& s, HDC handle) {
    DeviceContext* dc = s.findContext(handle);
    for (HGDIOBJ selected : {dc->bitmap, dc->pen, dc->brush})
        if (GdiObject* object = s.findObject(selected)) object->selections--;
    s.contexts.erase(handle);
}

}  // namespace vtplatform::detail

BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (window == nullptr) {
        // No window means every window.
        for (auto& [handle, w] : s.windows) invalidate(w, nullptr, erase);
        return TRUE;
    }
    Window* w = s.findWindow(window);
    if (w == nullptr) return FALSE;
    invalidate(*w, rect, erase);
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND window, const RECT* rect) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    Window* w = s.findWindow(window);
    if (w == nullptr) return FALSE;
    // The update region is only a bounding rectangle here, so it is cleared
    // only when the given rectangle covers all of it.
    if (rect == nullptr || (w->invalid && sameRect(unite(*rect, w->update), *rect)))
        validate(*w);
    return TRUE;
}

// Painting happens on the window's own thread: called from another thread this
// leaves the window invalid for its thread's next round of messages, where the
// system would hand the paint to that thread and wait.
BOOL WINAPI UpdateWindow(HWND window) {
    bool paint = false;
    {
        State& s = state();
        std::lock_guard lock(s.mutex);
        const Window* w = s.findWindow(window);
        if (w == nullptr) return FALSE;
        paint = w->invalid && s.isShown(window) && w->thread == GetCurrentThreadId();
    }
    if (paint) sendMessage(window, WM_PAINT, 0, 0);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint) {
    if (paint == nullptr) return nullptr;
    State& s = state();
    HDC dc = nullptr;
    bool erase = false;
    {
        std::lock_guard lock(s.mutex);
        Window* w = s.findWindow(window);
        if (w == nullptr) return nullptr;
        *paint = PAINTSTRUCT{};
        // Drawing is clipped to what was invalid; nothing invalid, nothing drawn.
        paint->rcPaint = w->invalid ? w->update : RECT{};
        erase = w->invalid && w->eraseRequested;
        validate(*w);
        dc = newWindowContext(s, window, true, &paint->rcPaint);
    }
    paint->hdc = dc;
    paint->fErase = erase && sendMessage(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE : FALSE;
    return dc;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (paint == nullptr) return FALSE;
    State& s = state();
    std::lock_guard lock(s.mutex);
    const DeviceContext* dc = s.findContext(paint->hdc);
    if (dc == nullptr || !dc->fromPaint || dc->window != window) return FALSE;
    releaseContext(s, paint->hdc);
    return TRUE;
}

HDC WINAPI GetDC(HWND window) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.findWindow(window) == nullptr) return nullptr;
    return newWindowContext(s, window, false, nullptr);
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const DeviceContext* context = s.findContext(dc);
    if (context == nullptr || context->memory || context->fromPaint || context->window != window) return 0;
    releaseContext(s, dc);
    return 1;
}
