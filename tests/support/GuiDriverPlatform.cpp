// The test driver over the platform layer's host functions.
#include "GuiDriver.h"

#include <vtplatform/PlatformHost.h>

#include <deque>
#include <mutex>

namespace gui {

namespace {

/// Any non-null value serves: the platform keys classes and bitmaps by it.
HINSTANCE const fakeModule = reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x7E570000u));

}  // namespace

HINSTANCE testModule() { return fakeModule; }

HWND createParentWindow(int width, int height) { return vtplatform::createHostWindow(width, height); }

void destroyParentWindow(HWND parent) { DestroyWindow(parent); }

void moveParentWindow(HWND parent, int screenX, int screenY) {
    vtplatform::setWindowScreenPosition(parent, screenX, screenY);
}

void sendMouse(UINT message, int screenX, int screenY, int wheelDelta) {
    vtplatform::deliverMouse(message, screenX, screenY, wheelDelta);
}

int runMessages() { return vtplatform::runPostedMessages(); }

bool readPixels(HWND window, Pixels& pixels) {
    return vtplatform::readWindowPixels(window, pixels.data, pixels.width, pixels.height);
}

bool countDrawingObjects(int& count) {
    count = vtplatform::gdiObjectCount();
    return true;
}

HBITMAP loadBitmap(const std::vector<unsigned char>& bmpFile) {
    static std::mutex lock;
    static std::deque<std::vector<unsigned char>> images;
    static int nextId = 1000;
    const std::lock_guard<std::mutex> guard(lock);
    // Kept alive for the whole run, in case the registration keeps the image.
    images.push_back(bmpFile);
    const int id = nextId++;
    vtplatform::registerBitmap(fakeModule, id, images.back().data(), images.back().size());
    return LoadBitmapA(fakeModule, MAKEINTRESOURCEA(id));
}

}  // namespace gui
