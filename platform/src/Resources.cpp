// Bitmap resources, registered per module by each library as it loads.
#include "BmpImage.h"
#include "State.h"

#include <vtplatform/PlatformHost.h>

using namespace vtplatform::detail;

HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR bitmapName) {
    // Resources are found by number only.
    if (bitmapName == nullptr || !IS_INTRESOURCE(bitmapName)) return nullptr;
    const int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(bitmapName));
    State& s = state();
    std::lock_guard lock(s.mutex);
    const auto found = s.bitmapResources.find({instance, id});
    if (found == s.bitmapResources.end()) return nullptr;
    GdiObject bitmap;
    bitmap.bitmap = found->second;
    const HGDIOBJ handle = s.newHandle<HGDIOBJ>();
    s.objects.emplace(handle, std::move(bitmap));
    return static_cast<HBITMAP>(handle);
}

bool vtplatform::registerBitmap(HINSTANCE module, int id, const unsigned char* bmpFile, std::size_t size) {
    // Resource numbers are 16-bit and never 0.
    if (id <= 0 || id > 0xFFFF) return false;
    std::optional<Surface> image = decodeBmp(bmpFile, size);
    if (!image) return false;
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.bitmapResources[{module, id}] = std::move(*image);
    return true;
}

void vtplatform::unregisterBitmap(HINSTANCE module, int id) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.bitmapResources.erase({module, id});
}
