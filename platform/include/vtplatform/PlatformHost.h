// What a host and the tests do with the window layer that the system's user
// would otherwise do: give the plug-in a parent window, move the mouse, let
// messages run, look at the screen, and supply each library's bitmaps.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#define VT_PLATFORM_API __attribute__((visibility("default")))

namespace vtplatform {

/// A visible top-level window owned by the calling thread, to be a host's
/// parent window; its client area starts at screen (0, 0). Its window
/// procedure is DefWindowProcA. Destroy it with DestroyWindow.
VT_PLATFORM_API HWND createHostWindow(int width, int height);

/// Moves a window so that its client area's top-left corner is at the given
/// screen position (a child keeps its parent; its offset in the parent changes).
VT_PLATFORM_API void setWindowScreenPosition(HWND window, int x, int y);

/// Sends a mouse message as the system would for a pointer at this screen
/// position, calling the window procedure on the calling thread.
/// WM_MOUSEMOVE, WM_LBUTTONDOWN and WM_LBUTTONUP go to the capture window if
/// there is one, else to the deepest visible window under the point, with
/// client coordinates in lParam; a press on a window without the capture
/// first sends it WM_MOUSEACTIVATE. WM_MOUSEWHEEL goes to the window under the
/// point with wheelDelta in the high word of wParam and screen coordinates in
/// lParam. Answers false when no window received the message.
VT_PLATFORM_API bool deliverMouse(UINT message, int screenX, int screenY, int wheelDelta = 0);

/// Runs the messages posted to the calling thread's windows before this call,
/// then one WM_PAINT for each of its visible windows that is invalid.
/// Answers how many messages reached a window procedure.
VT_PLATFORM_API int runPostedMessages();

/// The window's client pixels as 0x00RRGGBB, row by row from the top, with
/// its visible children drawn over it. False for a handle that is not a window.
VT_PLATFORM_API bool readWindowPixels(HWND window, std::vector<std::uint32_t>& pixels, int& width, int& height);

/// Registers a BMP file image (uncompressed, 8-bit palettised, 24-bit or 32-bit,
/// bottom-up or top-down) as bitmap resource `id` of `module`, replacing any
/// earlier one. Answers false, leaving the resource as it was, for an image
/// that cannot be read.
VT_PLATFORM_API bool registerBitmap(HINSTANCE module, int id, const unsigned char* bmpFile, std::size_t size);

/// Removes bitmap resource `id` of `module`.
VT_PLATFORM_API void unregisterBitmap(HINSTANCE module, int id);

/// Window classes currently registered.
VT_PLATFORM_API int registeredClassCount();

/// Windows currently alive, host windows included.
VT_PLATFORM_API int windowCount();

/// Device contexts, bitmaps, pens and brushes currently alive (stock objects
/// excluded), so a test can see that drawing deletes what it creates.
VT_PLATFORM_API int gdiObjectCount();

}  // namespace vtplatform
