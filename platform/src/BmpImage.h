// Reading the BMP file images that libraries register as bitmap resources.
#pragma once

#include "Surface.h"

#include <cstddef>
#include <optional>

namespace vtplatform::detail {

/// Decodes an uncompressed BMP file image of 8 (palettised), 24 or 32 bits
/// per pixel, stored bottom-up or top-down. Nothing for anything else or for
/// an image whose declared layout does not fit in `size` bytes.
std::optional<Surface> decodeBmp(const unsigned char* data, std::size_t size);

}  // namespace vtplatform::detail
