// A block of 32-bit pixels, the storage behind every window and bitmap.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace vtplatform::detail {

/// A side far beyond any panel; keeps a surface's size inside memory and int.
constexpr int largestSurfaceSide = 16384;

/// Pixels are 0x00RRGGBB, row by row from the top.
struct Surface {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Surface() = default;
    Surface(int w, int h, std::uint32_t fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const std::uint32_t* from(int x, int y) const { return pixels.data() + static_cast<std::size_t>(y) * width + x; }
};

/// COLORREF keeps red in the low byte; surfaces keep it in the third.
inline std::uint32_t pixelOf(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (static_cast<std::uint32_t>(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

inline COLORREF colourOf(std::uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

inline RECT makeRect(int left, int top, int right, int bottom) {
    RECT r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

inline bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

inline bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline RECT intersect(const RECT& a, const RECT& b) {
    RECT r = makeRect(a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                      a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom);
    if (isEmpty(r)) r = makeRect(0, 0, 0, 0);
    return r;
}

inline RECT unite(const RECT& a, const RECT& b) {
    if (isEmpty(a)) return b;
    if (isEmpty(b)) return a;
    return makeRect(a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                    a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom);
}

inline RECT boundsOf(const Surface& s) { return makeRect(0, 0, s.width, s.height); }

}  // namespace vtplatform::detail
