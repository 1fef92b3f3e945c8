#include "State.h"

#include <cctype>

namespace vtplatform::detail {

namespace {

HGDIOBJ addStockObject(State& s, GdiObject object) {
    object.stock = true;
    const HGDIOBJ handle = s.newHandle<HGDIOBJ>();
    s.objects.emplace(handle, std::move(object));
    return handle;
}

GdiObject stockPen(UINT style, COLORREF colour) {
    GdiObject pen;
    pen.kind = ObjectKind::pen;
    pen.style = style;
    pen.colour = colour;
    return pen;
}

GdiObject stockBrush(UINT style, COLORREF colour) {
    GdiObject brush;
    brush.kind = ObjectKind::brush;
    brush.style = style;
    brush.colour = colour;
    return brush;
}

State* createState() {
    State* s = new State;
    s->arrowCursor = s->newHandle<HCURSOR>();
    // A new memory context holds a one-pixel monochrome bitmap.
    GdiObject defaultBitmap;
    defaultBitmap.bitmap = Surface(1, 1);
    defaultBitmap.bitsPerPixel = 1;
    s->defaultBitmap = addStockObject(*s, defaultBitmap);
    s->whitePen = addStockObject(*s, stockPen(PS_SOLID, RGB(255, 255, 255)));
    s->blackPen = addStockObject(*s, stockPen(PS_SOLID, RGB(0, 0, 0)));
    s->nullPen = addStockObject(*s, stockPen(PS_NULL, 0));
    s->whiteBrush = addStockObject(*s, stockBrush(BS_SOLID, RGB(255, 255, 255)));
    s->blackBrush = addStockObject(*s, stockBrush(BS_SOLID, RGB(0, 0, 0)));
    s->nullBrush = addStockObject(*s, stockBrush(BS_NULL, 0));
    return s;
}

}  // namespace

State& state() {
    static State* const instance = createState();
    return *instance;
}

bool State::isShown(HWND handle) {
    for (Window* w = findWindow(handle); w != nullptr; w = findWindow(w->parent)) {
        if ((w->style & WS_VISIBLE) == 0 || w->destroying) return false;
        if (w->parent == nullptr) return true;
    }
    return false;
}

POINT State::screenOrigin(HWND handle) {
    POINT origin{0, 0};
    for (Window* w = findWindow(handle); w != nullptr; w = findWindow(w->parent)) {
        origin.x += w->x;
        origin.y += w->y;
    }
    return origin;
}

Surface* State::targetOf(const DeviceContext& dc, RECT& clip) {
    Surface* surface = nullptr;
    if (dc.memory) {
        GdiObject* bitmap = findObject(dc.bitmap);
        if (bitmap != nullptr) surface = &bitmap->bitmap;
    } else if (Window* window = findWindow(dc.window)) {
        surface = &window->surface;
    }
    if (surface == nullptr) return nullptr;
    clip = dc.clipped ? intersect(dc.clip, boundsOf(*surface)) : boundsOf(*surface);
    return surface;
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC procedure = nullptr;
    {
        State& s = state();
        std::lock_guard lock(s.mutex);
        if (Window* w = s.findWindow(window)) procedure = w->procedure;
    }
    return procedure == nullptr ? 0 : procedure(window, message, wParam, lParam);
}

std::string lowerCase(const char* text) {
    std::string lowered;
    for (const char* c = text; *c != '\0'; ++c) lowered += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    return lowered;
}

}  // namespace vtplatform::detail
