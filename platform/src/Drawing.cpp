// The drawing calls: block copies, ellipses, rectangles and single pixels.
#include "Raster.h"
#include "State.h"

using namespace vtplatform::detail;

namespace {

struct Tools {
    std::optional<std::uint32_t> fill;
    std::optional<std::uint32_t> pen;
    int penWidth = 1;
};

Tools toolsOf(State& s, const DeviceContext& dc) {
    Tools tools;
    if (const GdiObject* brush = s.findObject(dc.brush); brush != nullptr && brush->style == BS_SOLID)
        tools.fill = pixelOf(brush->colour);
    if (const GdiObject* pen = s.findObject(dc.pen); pen != nullptr && pen->style == PS_SOLID) {
        tools.pen = pixelOf(pen->colour);
        tools.penWidth = pen->penWidth;
    }
    return tools;
}

template <class Draw>
BOOL drawFigure(HDC dc, int left, int top, int right, int bottom, Draw draw) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const DeviceContext* context = s.findContext(dc);
    if (context == nullptr) return FALSE;
    RECT clip;
    Surface* target = s.targetOf(*context, clip);
    if (target == nullptr) return FALSE;
    const Tools tools = toolsOf(s, *context);
    draw(*target, makeRect(left, top, right, bottom), clip, tools.fill, tools.pen, tools.penWidth);
    return TRUE;
}

}  // namespace

BOOL WINAPI BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                   DWORD rop) {
    const std::optional<RasterOp> op = rasterOpOf(rop);
    if (!op) return FALSE;
    State& s = state();
    std::lock_guard lock(s.mutex);
    const DeviceContext* to = s.findContext(destination);
    const DeviceContext* from = s.findContext(source);
    if (to == nullptr || from == nullptr) return FALSE;
    RECT clip;
    RECT sourceClip;
    Surface* target = s.targetOf(*to, clip);
    const Surface* image = s.targetOf(*from, sourceClip);
    if (target == nullptr || image == nullptr) return FALSE;
    blit(*target, x, y, width, height, clip, *image, sourceX, sourceY, *op);
    return TRUE;
}

// The figure covers the box without its right column and bottom row, as on
// the system; the exact pixels of an ellipse's curve may differ slightly.
BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom) {
    return drawFigure(dc, left, top, right, bottom, drawEllipse);
}

BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom) {
    return drawFigure(dc, left, top, right, bottom, drawRectangle);
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (rect == nullptr) return 0;
    State& s = state();
    std::lock_guard lock(s.mutex);
    const DeviceContext* context = s.findContext(dc);
    const GdiObject* fill = s.findObject(brush);
    if (context == nullptr || fill == nullptr || fill->kind != ObjectKind::brush) return 0;
    RECT clip;
    Surface* target = s.targetOf(*context, clip);
    if (target == nullptr) return 0;
    if (fill->style == BS_SOLID) fillRect(*target, *rect, clip, pixelOf(fill->colour));
    return 1;
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const DeviceContext* context = s.findContext(dc);
    if (context == nullptr) return CLR_INVALID;
    RECT clip;
    const Surface* target = s.targetOf(*context, clip);
    if (target == nullptr || x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return CLR_INVALID;
    return colourOf(target->at(x, y));
}

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF colour) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const DeviceContext* context = s.findContext(dc);
    if (context == nullptr) return CLR_INVALID;
    RECT clip;
    Surface* target = s.targetOf(*context, clip);
    if (target == nullptr || x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return CLR_INVALID;
    target->at(x, y) = pixelOf(colour);
    return colour & 0x00FFFFFF;
}
