// The pixel work behind the drawing calls, on plain surfaces. Every operation
// touches only pixels inside `clip` (already limited to the surface).
#pragma once

#include "Surface.h"

#include <optional>

namespace vtplatform::detail {

/// Pixels left..right-1, top..bottom-1, as the rectangle calls cover them.
void fillRect(Surface& target, const RECT& area, const RECT& clip, std::uint32_t pixel);

/// A shape bounded by `box` (right and bottom exclusive): filled with `fill`
/// when given, outlined `penWidth` pixels deep with `pen` when given. Wide
/// outlines lie inside the box; the system centres them on the figure's edge.
/// An ellipse without an outline fills the same pixels it would with one.
void drawEllipse(Surface& target, const RECT& box, const RECT& clip, std::optional<std::uint32_t> fill,
                 std::optional<std::uint32_t> pen, int penWidth);
void drawRectangle(Surface& target, const RECT& box, const RECT& clip, std::optional<std::uint32_t> fill,
                   std::optional<std::uint32_t> pen, int penWidth);

/// Raster operations that combine source and destination bit by bit, which
/// is the same as channel by channel.
enum class RasterOp { copy, andSource, orSource, xorSource };
std::optional<RasterOp> rasterOpOf(DWORD rop);

/// Combines source pixels from (sourceX, sourceY) into the destination at
/// (x, y). Only pixels whose source lies inside `source` change; `source` may
/// be `target` itself, overlapping or not.
void blit(Surface& target, int x, int y, int width, int height, const RECT& clip, const Surface& source, int sourceX,
          int sourceY, RasterOp op);

}  // namespace vtplatform::detail
