#include "BmpImage.h"

#include <cstdint>
#include <cstdlib>

namespace vtplatform::detail {

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;  // the smallest header with the fields below
constexpr std::uint32_t uncompressed = 0;   // BI_RGB
constexpr std::size_t paletteEntrySize = 4;  // blue, green, red, reserved

std::uint32_t readU32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t readU16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::int32_t readI32(const unsigned char* p) { return static_cast<std::int32_t>(readU32(p)); }

std::uint32_t rgb(unsigned char red, unsigned char green, unsigned char blue) {
    return (static_cast<std::uint32_t>(red) << 16) | (static_cast<std::uint32_t>(green) << 8) | blue;
}

}  // namespace

std::optional<Surface> decodeBmp(const unsigned char* data, std::size_t size) {
    if (data == nullptr || size < fileHeaderSize + infoHeaderSize) return std::nullopt;
    if (data[0] != 'B' || data[1] != 'M') return std::nullopt;
    const std::size_t pixelOffset = readU32(data + 10);
    const unsigned char* info = data + fileHeaderSize;
    const std::size_t headerSize = readU32(info);
    const std::int64_t width = readI32(info + 4);
    const std::int64_t signedHeight = readI32(info + 8);
    const unsigned planes = readU16(info + 12);
    const unsigned bitsPerPixel = readU16(info + 14);
    const std::uint32_t compression = readU32(info + 16);
    std::size_t paletteCount = readU32(info + 32);

    if (headerSize < infoHeaderSize || headerSize > size - fileHeaderSize) return std::nullopt;
    if (planes != 1 || compression != uncompressed) return std::nullopt;
    if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) return std::nullopt;
    const bool topDown = signedHeight < 0;
    const std::int64_t height = std::llabs(signedHeight);
    if (width <= 0 || height <= 0 || width > largestSurfaceSide || height > largestSurfaceSide) return std::nullopt;

    std::uint32_t palette[256] = {};
    if (bitsPerPixel == 8) {
        if (paletteCount == 0 || paletteCount > 256) paletteCount = 256;
        const std::size_t paletteStart = fileHeaderSize + headerSize;
        if (paletteStart + paletteCount * paletteEntrySize > size) return std::nullopt;
        for (std::size_t i = 0; i < paletteCount; ++i) {
            const unsigned char* entry = data + paletteStart + i * paletteEntrySize;
            palette[i] = rgb(entry[2], entry[1], entry[0]);
        }
    }

    // Rows are padded to whole 32-bit words.
    const std::size_t stride = ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
    const std::size_t rows = static_cast<std::size_t>(height);
    if (pixelOffset > size || stride * rows > size - pixelOffset) return std::nullopt;

    Surface image(static_cast<int>(width), static_cast<int>(height));
    for (int y = 0; y < image.height; ++y) {
        const std::size_t storedRow = topDown ? static_cast<std::size_t>(y) : rows - 1 - static_cast<std::size_t>(y);
        const unsigned char* row = data + pixelOffset + storedRow * stride;
        for (int x = 0; x < image.width; ++x) {
            if (bitsPerPixel == 8) {
                // An index past the palette reads as black (the unset entries).
                image.at(x, y) = palette[row[x]];
            } else {
                const unsigned char* p = row + static_cast<std::size_t>(x) * (bitsPerPixel / 8);
                image.at(x, y) = rgb(p[2], p[1], p[0]);
            }
        }
    }
    return image;
}

}  // namespace vtplatform::detail
