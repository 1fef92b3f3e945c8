// What a host does with windows: its own parent window, moving windows on
// the screen, and looking at what they show.
#include "Raster.h"
#include "State.h"

#include <vtplatform/PlatformHost.h>

using namespace vtplatform::detail;

namespace {

// Draws a window's visible children over the area where the window itself
// lies in `target`, clipped to that area. Each window keeps its own pixels, so
// drawing in a parent never covers its children, as if every window clipped
// its children; pixels no one has drawn yet are black.
void compositeChildren(State& s, const Window& parent, Surface& target, int originX, int originY, const RECT& clip) {
    for (HWND handle : parent.children) {
        const Window& child = *s.findWindow(handle);
        if ((child.style & WS_VISIBLE) == 0 || child.destroying) continue;
        const int x = originX + child.x;
        const int y = originY + child.y;
        const RECT area = intersect(clip, makeRect(x, y, x + child.surface.width, y + child.surface.height));
        blit(target, x, y, child.surface.width, child.surface.height, area, child.surface, 0, 0, RasterOp::copy);
        compositeChildren(s, child, target, x, y, area);
    }
}

}  // namespace

HWND vtplatform::createHostWindow(int width, int height) {
    if (width < 0 || height < 0 || width > largestSurfaceSide || height > largestSurfaceSide) return nullptr;
    State& s = state();
    std::lock_guard lock(s.mutex);
    Window w;
    w.procedure = DefWindowProcA;
    w.style = WS_VISIBLE;
    w.surface = Surface(width, height);
    w.thread = GetCurrentThreadId();
    return addWindow(s, std::move(w));
}

void vtplatform::setWindowScreenPosition(HWND window, int x, int y) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    Window* w = s.findWindow(window);
    if (w == nullptr) return;
    const POINT parentOrigin = s.screenOrigin(w->parent);
    w->x = x - parentOrigin.x;
    w->y = y - parentOrigin.y;
}

bool vtplatform::readWindowPixels(HWND window, std::vector<std::uint32_t>& pixels, int& width, int& height) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const Window* w = s.findWindow(window);
    if (w == nullptr) return false;
    Surface composed = w->surface;
    compositeChildren(s, *w, composed, 0, 0, boundsOf(composed));
    pixels = std::move(composed.pixels);
    width = composed.width;
    height = composed.height;
    return true;
}

int vtplatform::windowCount() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return static_cast<int>(s.windows.size());
}
