// Small BMP file images for fixtures: bottom-up rows padded to four bytes,
// as the format stores them.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace bmp {

/// A colour as red, green, blue.
struct Rgb {
    std::uint8_t r, g, b;
};

namespace detail {

inline void put16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

inline void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xFFFFu);
    put16(out, v >> 16);
}

inline std::vector<unsigned char> header(int width, int height, int bitsPerPixel, int paletteSize) {
    const std::uint32_t stride = ((static_cast<std::uint32_t>(width * bitsPerPixel) + 31u) / 32u) * 4u;
    const std::uint32_t pixelStart = 14u + 40u + 4u * static_cast<std::uint32_t>(paletteSize);
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, pixelStart + imageSize);
    put32(out, 0);
    put32(out, pixelStart);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    put32(out, 0);  // uncompressed
    put32(out, imageSize);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, static_cast<std::uint32_t>(paletteSize));
    put32(out, 0);
    return out;
}

inline void padRow(std::vector<unsigned char>& out, std::size_t rowStart) {
    while ((out.size() - rowStart) % 4 != 0) out.push_back(0);
}

}  // namespace detail

/// A 24-bit image; pixel(x, y) counts y from the top.
inline std::vector<unsigned char> image24(int width, int height, const std::function<Rgb(int, int)>& pixel) {
    std::vector<unsigned char> out = detail::header(width, height, 24, 0);
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        detail::padRow(out, rowStart);
    }
    return out;
}

/// An 8-bit image indexing palette; index(x, y) counts y from the top.
inline std::vector<unsigned char> image8(int width, int height, const std::vector<Rgb>& palette,
                                         const std::function<std::uint8_t(int, int)>& index) {
    std::vector<unsigned char> out = detail::header(width, height, 8, static_cast<int>(palette.size()));
    for (const Rgb& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) out.push_back(index(x, y));
        detail::padRow(out, rowStart);
    }
    return out;
}

}  // namespace bmp
