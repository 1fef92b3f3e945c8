// What a window test needs from the system, the same on every build: natively
// through the platform layer's host functions, on Windows through the real
// window calls. Everything here runs on the test's own thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace gui {

/// A module handle to register window classes and bitmaps under.
HINSTANCE testModule();

/// A visible window standing in for a host's parent window, its
/// client area at screen 0, 0. Mouse messages are routed inside the most
/// recently created one.
HWND createParentWindow(int width, int height);
void destroyParentWindow(HWND parent);
void moveParentWindow(HWND parent, int screenX, int screenY);

/// Delivers a mouse message at a screen position as the system would: to the
/// capture window if any, else to the deepest window under the point, with
/// client coordinates; the wheel goes to the window under the point with the
/// delta in the high word of wParam and screen coordinates.
void sendMouse(UINT message, int screenX, int screenY, int wheelDelta = 0);

/// Runs the thread's posted messages and pending paints; answers how many.
int runMessages();

/// A window's client pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> data;
    std::uint32_t at(int x, int y) const { return data[static_cast<std::size_t>(y * width + x)]; }
};

/// False when the window does not exist.
bool readPixels(HWND window, Pixels& pixels);

/// Device contexts, bitmaps, pens and brushes alive; false where the
/// system keeps no such count.
bool countDrawingObjects(int& count);

/// A bitmap made from a BMP file image (24-bit, or 8-bit with a palette).
HBITMAP loadBitmap(const std::vector<unsigned char>& bmpFile);

/// A COLORREF as readPixels reports it.
constexpr std::uint32_t pixelOf(COLORREF colour) {
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

}  // namespace gui
