// Small helpers shared by the window-layer tests: BMP images built in memory,
// a window procedure that records what it receives, and handles for modules.
#pragma once

#include <vtplatform/PlatformHost.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

namespace fixtures {

/// A module handle no other test uses, so classes and resources never collide.
inline HINSTANCE freshModule() {
    static std::atomic<std::uintptr_t> next{0x70000000};
    return reinterpret_cast<HINSTANCE>(next += 0x1000);
}

/// Rows of 0x00RRGGBB pixels, top row first.
using Image = std::vector<std::vector<std::uint32_t>>;

inline void put16(std::vector<unsigned char>& out, unsigned v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}
inline void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

/// A BMP file of `bits` 24 or 8 per pixel. For 8 bits `palette` lists the
/// colours and the image holds indices into it.
inline std::vector<unsigned char> makeBmp(const Image& image, int bits, bool topDown,
                                          const std::vector<std::uint32_t>& palette = {}) {
    const int height = static_cast<int>(image.size());
    const int width = static_cast<int>(image[0].size());
    const int stride = (width * bits + 31) / 32 * 4;
    const std::uint32_t paletteBytes = static_cast<std::uint32_t>(palette.size() * 4);
    const std::uint32_t offset = 14 + 40 + paletteBytes;
    std::vector<unsigned char> out{'B', 'M'};
    put32(out, offset + static_cast<std::uint32_t>(stride * height));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(topDown ? -height : height));
    put16(out, 1);
    put16(out, static_cast<unsigned>(bits));
    put32(out, 0);  // uncompressed
    put32(out, static_cast<std::uint32_t>(stride * height));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, static_cast<std::uint32_t>(palette.size()));
    put32(out, 0);
    for (std::uint32_t colour : palette) {
        out.push_back(static_cast<unsigned char>(colour & 0xFF));
        out.push_back(static_cast<unsigned char>((colour >> 8) & 0xFF));
        out.push_back(static_cast<unsigned char>((colour >> 16) & 0xFF));
        out.push_back(0);
    }
    for (int row = 0; row < height; ++row) {
        const auto& pixels = image[static_cast<std::size_t>(topDown ? row : height - 1 - row)];
        std::size_t written = 0;
        for (std::uint32_t p : pixels) {
            if (bits == 8) {
                out.push_back(static_cast<unsigned char>(p));
                written += 1;
            } else {
                out.push_back(static_cast<unsigned char>(p & 0xFF));
                out.push_back(static_cast<unsigned char>((p >> 8) & 0xFF));
                out.push_back(static_cast<unsigned char>((p >> 16) & 0xFF));
                written += 3;
            }
        }
        // Padding bytes that are not zero must be ignored by the reader.
        for (; written < static_cast<std::size_t>(stride); ++written) out.push_back(0xAB);
    }
    return out;
}

struct Message {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD thread;
};

/// Every message any recording window receives, in order.
class Recorder {
public:
    static Recorder& get() {
        static Recorder recorder;
        return recorder;
    }
    void add(const Message& m) {
        std::lock_guard lock(mutex);
        messages.push_back(m);
    }
    std::vector<Message> take() {
        std::lock_guard lock(mutex);
        return std::exchange(messages, {});
    }
    /// The messages of one kind, leaving the others out.
    std::vector<Message> take(UINT kind) {
        std::vector<Message> all = take();
        std::vector<Message> kept;
        for (const Message& m : all)
            if (m.message == kind) kept.push_back(m);
        return kept;
    }

private:
    std::mutex mutex;
    std::vector<Message> messages;
};

inline void record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorder::get().add({window, message, wParam, lParam, GetCurrentThreadId()});
}

/// Records the message, then answers as the default procedure does.
inline LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    record(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

/// Registers a class with `procedure` under a fresh module.
struct TestClass {
    explicit TestClass(WNDPROC procedure = recordingProc, const char* className = "TestPanel")
        : module(freshModule()), name(className) {
        WNDCLASSA description{};
        description.lpfnWndProc = procedure;
        description.hInstance = module;
        description.lpszClassName = name;
        RegisterClassA(&description);
    }
    ~TestClass() { UnregisterClassA(name, module); }

    HWND child(HWND parent, int x, int y, int width, int height, DWORD style = WS_CHILD | WS_VISIBLE) const {
        return CreateWindowExA(0, name, nullptr, style, x, y, width, height, parent, nullptr, module, nullptr);
    }

    HINSTANCE module;
    const char* name;
};

inline std::uint32_t pixelAt(HWND window, int x, int y) {
    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;
    if (!vtplatform::readWindowPixels(window, pixels, width, height) || x < 0 || y < 0 || x >= width || y >= height)
        return 0xFFFFFFFF;
    return pixels[static_cast<std::size_t>(y * width + x)];
}

}  // namespace fixtures
