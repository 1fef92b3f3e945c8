#include "Raster.h"

#include <algorithm>

namespace vtplatform::detail {

namespace {

RECT normalised(const RECT& box) {
    return makeRect(std::min(box.left, box.right), std::min(box.top, box.bottom), std::max(box.left, box.right),
                    std::max(box.top, box.bottom));
}

// A shape is a set of pixels inside its box. The outline is the part of the
// shape closer than `penWidth` to its outside (4-neighbour steps); for convex
// shapes a pixel is that deep inside exactly when the four pixels `penWidth`
// away along the axes are inside too.
template <class Inside>
void drawShape(Surface& target, const RECT& box, const RECT& clip, std::optional<std::uint32_t> fill,
               std::optional<std::uint32_t> pen, int penWidth, Inside inside) {
    const RECT area = intersect(box, clip);
    const int depth = std::max(penWidth, 1);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (!inside(x, y)) continue;
            const bool onOutline = pen && !(inside(x - depth, y) && inside(x + depth, y) && inside(x, y - depth) &&
                                            inside(x, y + depth));
            if (onOutline)
                target.at(x, y) = *pen;
            else if (fill)
                target.at(x, y) = *fill;
        }
    }
}

}  // namespace

void fillRect(Surface& target, const RECT& area, const RECT& clip, std::uint32_t pixel) {
    const RECT r = intersect(area, clip);
    for (int y = r.top; y < r.bottom; ++y)
        std::fill_n(&target.at(r.left, y), r.right - r.left, pixel);
}

void drawEllipse(Surface& target, const RECT& rawBox, const RECT& clip, std::optional<std::uint32_t> fill,
                 std::optional<std::uint32_t> pen, int penWidth) {
    const RECT box = normalised(rawBox);
    if (isEmpty(box)) return;
    // Pixel centres inside the ellipse inscribed in the box's outer edges. All
    // terms are multiples of one half, so mirrored pixels get identical sums
    // and the figure is exactly symmetric about both axes.
    const double halfWidth = (box.right - box.left) / 2.0;
    const double halfHeight = (box.bottom - box.top) / 2.0;
    auto inside = [&](int x, int y) {
        if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) return false;
        const double dx = (x - box.left + 0.5 - halfWidth) / halfWidth;
        const double dy = (y - box.top + 0.5 - halfHeight) / halfHeight;
        return dx * dx + dy * dy <= 1.0;
    };
    drawShape(target, box, clip, fill, pen, penWidth, inside);
}

void drawRectangle(Surface& target, const RECT& rawBox, const RECT& clip, std::optional<std::uint32_t> fill,
                   std::optional<std::uint32_t> pen, int penWidth) {
    RECT box = normalised(rawBox);
    // Without an outline the system's rectangle is one pixel narrower and lower.
    if (!pen) {
        box.right -= 1;
        box.bottom -= 1;
    }
    if (isEmpty(box)) return;
    auto inside = [&](int x, int y) { return x >= box.left && x < box.right && y >= box.top && y < box.bottom; };
    drawShape(target, box, clip, fill, pen, penWidth, inside);
}

std::optional<RasterOp> rasterOpOf(DWORD rop) {
    switch (rop) {
        case SRCCOPY: return RasterOp::copy;
        case SRCAND: return RasterOp::andSource;
        case SRCPAINT: return RasterOp::orSource;
        case SRCINVERT: return RasterOp::xorSource;
        default: return std::nullopt;
    }
}

void blit(Surface& target, int x, int y, int width, int height, const RECT& clip, const Surface& source, int sourceX,
          int sourceY, RasterOp op) {
    if (width <= 0 || height <= 0) return;
    // Destination pixels whose source pixel exists, inside the clip.
    RECT area = intersect(makeRect(x, y, x + width, y + height), clip);
    const RECT sourceArea = makeRect(x - sourceX, y - sourceY, x - sourceX + source.width, y - sourceY + source.height);
    area = intersect(area, sourceArea);
    if (isEmpty(area)) return;

    const int columns = area.right - area.left;
    std::vector<std::uint32_t> row(static_cast<std::size_t>(columns));
    // Copying each source row out first makes a copy within one surface safe
    // when the rows overlap; walking the rows away from the overlap keeps
    // unread source rows intact.
    const bool upwards = &target == &source && sourceY < y;
    for (int i = 0; i < area.bottom - area.top; ++i) {
        const int py = upwards ? area.bottom - 1 - i : area.top + i;
        const int sy = py - y + sourceY;
        std::copy_n(source.from(area.left - x + sourceX, sy), columns, row.begin());
        std::uint32_t* out = &target.at(area.left, py);
        for (int c = 0; c < columns; ++c) {
            const std::uint32_t s = row[static_cast<std::size_t>(c)];
            switch (op) {
                case RasterOp::copy: out[c] = s; break;
                case RasterOp::andSource: out[c] &= s; break;
                case RasterOp::orSource: out[c] |= s; break;
                case RasterOp::xorSource: out[c] ^= s; break;
            }
        }
    }
}

}  // namespace vtplatform::detail
