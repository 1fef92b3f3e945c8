// Memory device contexts, pens, brushes and bitmaps, and selecting them.
#include "State.h"

#include <vtplatform/PlatformHost.h>

#include <cstring>

using namespace vtplatform::detail;

namespace {

HGDIOBJ addObject(State& s, GdiObject object) {
    const HGDIOBJ handle = s.newHandle<HGDIOBJ>();
    s.objects.emplace(handle, std::move(object));
    return handle;
}

}  // namespace

HDC WINAPI CreateCompatibleDC(HDC dc) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (dc != nullptr && s.findContext(dc) == nullptr) return nullptr;
    DeviceContext memory;
    memory.memory = true;
    memory.bitmap = s.defaultBitmap;
    memory.pen = s.blackPen;
    memory.brush = s.whiteBrush;
    for (HGDIOBJ selected : {memory.bitmap, memory.pen, memory.brush}) s.objects[selected].selections++;
    const HDC handle = s.newHandle<HDC>();
    s.contexts.emplace(handle, memory);
    return handle;
}

// Always a colour bitmap; the system makes a monochrome one for a memory
// context that still holds its initial bitmap.
HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (width <= 0 || height <= 0 || width > largestSurfaceSide || height > largestSurfaceSide) return nullptr;
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.findContext(dc) == nullptr) return nullptr;
    GdiObject bitmap;
    bitmap.bitmap = Surface(width, height);
    return static_cast<HBITMAP>(addObject(s, std::move(bitmap)));
}

BOOL WINAPI DeleteDC(HDC dc) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const DeviceContext* context = s.findContext(dc);
    // Window contexts go back with ReleaseDC or EndPaint.
    if (context == nullptr || !context->memory) return FALSE;
    releaseContext(s, dc);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    DeviceContext* context = s.findContext(dc);
    GdiObject* selected = s.findObject(object);
    if (context == nullptr || selected == nullptr) return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (selected->kind) {
        case ObjectKind::bitmap:
            // A bitmap goes into one memory context at a time.
            if (!context->memory) return nullptr;
            if (object == context->bitmap) return object;
            if (selected->selections > 0 && !selected->stock) return nullptr;
            slot = &context->bitmap;
            break;
        case ObjectKind::pen: slot = &context->pen; break;
        case ObjectKind::brush: slot = &context->brush; break;
    }
    const HGDIOBJ previous = std::exchange(*slot, object);
    selected->selections++;
    if (GdiObject* old = s.findObject(previous)) old->selections--;
    return previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const GdiObject* found = s.findObject(object);
    if (found == nullptr) return FALSE;
    if (found->stock) return TRUE;  // deleting a stock object is harmless and does nothing
    if (found->selections > 0) return FALSE;
    s.objects.erase(object);
    return TRUE;
}

HGDIOBJ WINAPI GetStockObject(int index) {
    State& s = state();
    switch (index) {
        case WHITE_BRUSH: return s.whiteBrush;
        case BLACK_BRUSH: return s.blackBrush;
        case NULL_BRUSH: return s.nullBrush;
        case WHITE_PEN: return s.whitePen;
        case BLACK_PEN: return s.blackPen;
        case NULL_PEN: return s.nullPen;
        default: return nullptr;
    }
}

int WINAPI GetObjectA(HANDLE object, int size, LPVOID buffer) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const GdiObject* found = s.findObject(object);
    if (found == nullptr) return 0;
    BITMAP bitmap{};
    LOGPEN pen{};
    LOGBRUSH brush{};
    const void* description = nullptr;
    int length = 0;
    switch (found->kind) {
        case ObjectKind::bitmap:
            bitmap.bmWidth = found->bitmap.width;
            bitmap.bmHeight = found->bitmap.height;
            // Rows of a device bitmap are padded to whole 16-bit words.
            bitmap.bmWidthBytes = (found->bitmap.width * found->bitsPerPixel + 15) / 16 * 2;
            bitmap.bmPlanes = 1;
            bitmap.bmBitsPixel = found->bitsPerPixel;
            description = &bitmap;
            length = sizeof bitmap;
            break;
        case ObjectKind::pen:
            pen.lopnStyle = found->style;
            pen.lopnWidth.x = found->penWidth;
            pen.lopnColor = found->colour;
            description = &pen;
            length = sizeof pen;
            break;
        case ObjectKind::brush:
            brush.lbStyle = found->style;
            brush.lbColor = found->colour;
            description = &brush;
            length = sizeof brush;
            break;
    }
    if (buffer == nullptr) return length;
    if (size < length) return 0;
    std::memcpy(buffer, description, static_cast<std::size_t>(length));
    return length;
}

// Only solid and null pens; a wide solid pen outlines inside the figure.
HPEN WINAPI CreatePen(int style, int width, COLORREF colour) {
    if (style != PS_SOLID && style != PS_NULL) return nullptr;
    GdiObject pen;
    pen.kind = ObjectKind::pen;
    pen.style = static_cast<UINT>(style);
    pen.penWidth = width < 1 ? 1 : width;  // width 0 is one pixel
    pen.colour = colour & 0x00FFFFFF;
    State& s = state();
    std::lock_guard lock(s.mutex);
    return static_cast<HPEN>(addObject(s, std::move(pen)));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF colour) {
    GdiObject brush;
    brush.kind = ObjectKind::brush;
    brush.style = BS_SOLID;
    brush.colour = colour & 0x00FFFFFF;
    State& s = state();
    std::lock_guard lock(s.mutex);
    return static_cast<HBRUSH>(addObject(s, std::move(brush)));
}

int vtplatform::gdiObjectCount() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    int count = static_cast<int>(s.contexts.size());
    for (const auto& [handle, object] : s.objects)
        if (!object.stock) ++count;
    return count;
}
