#include "PanelEditor.h"

#include "EffectBase.h"
#include "ModuleInstance.h"

#include <cmath>
#include <mutex>

namespace {

const char className[] = "VTGui";

// Editors alive in this library; the class goes when the last one does.
// Hosts may create and destroy effects on different threads, so the count
// and the registration it guards change together under one lock.
std::int32_t classUsers = 0;
std::mutex classUsersLock;

/// Smallest difference between a control's value and a pushed one that
/// counts as a change.
constexpr float updateTolerance = 0.0001f;

/// One wheel notch as the system reports it.
constexpr int wheelNotch = 120;

/// A coordinate packed into 16 bits of lParam; the pointer can be left of or
/// above the window while it holds the capture, so large values are negative.
std::int32_t decodeCoordinate(unsigned bits) {
    return bits > 32768u ? static_cast<std::int32_t>(bits) - 65536 : static_cast<std::int32_t>(bits);
}

}  // namespace

PanelEditor::PanelEditor(EffectBase* effect, std::int32_t width, std::int32_t height)
    : EditorBase(effect),
      rect{0, 0, static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)},
      clientRect{0, 0, width, height},
      width(width),
      height(height),
      instance(static_cast<HINSTANCE>(moduleInstance)) {
    WNDCLASSA windowClass{};
    windowClass.style = 0;
    windowClass.lpfnWndProc = windowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // No brush: the panel paints every pixel itself, so the system never erases it.
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;

    const std::lock_guard<std::mutex> guard(classUsersLock);
    WNDCLASSA existing{};
    if (!GetClassInfoA(instance, className, &existing)) RegisterClassA(&windowClass);
    ++classUsers;
}

PanelEditor::~PanelEditor() {
    for (Control* control : controls) delete control;
    // Messages sent while the window goes must find no deleted control.
    controls.clear();
    hoverControl = nullptr;
    capturedControl = nullptr;
    if (parentWindow != nullptr) PanelEditor::close();

    const std::lock_guard<std::mutex> guard(classUsersLock);
    --classUsers;
    if (classUsers < 1) UnregisterClassA(className, instance);
}

bool PanelEditor::getRect(ERect** out) {
    *out = &rect;
    return true;
}

bool PanelEditor::open(void* parent) {
    if (parent == nullptr) return false;
    // A second open must not strand the first window; the new parent is
    // where the host now expects the panel.
    if (parentWindow != nullptr) PanelEditor::close();

    HWND created = CreateWindowExA(0, className, nullptr, WS_CHILD, 0, 0, width, height, static_cast<HWND>(parent),
                                   nullptr, instance, nullptr);
    if (created == nullptr) return false;
    SetWindowLongPtrA(created, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    // Other threads take isOpen as the sign that window and windowThread
    // are valid, so parentWindow is stored last.
    windowThread = GetCurrentThreadId();
    redrawPending = false;
    window = created;
    parentWindow = parent;
    ShowWindow(created, SW_SHOW);
    return true;
}

void PanelEditor::close() {
    // The handle kept after closing may by now name another window.
    if (parentWindow == nullptr) return;
    parentWindow = nullptr;
    HWND closing = window;
    // Messages sent while the window is destroyed go to the default procedure.
    SetWindowLongPtrA(closing, GWLP_USERDATA, 0);
    DestroyWindow(closing);
}

void PanelEditor::addControl(Control* control) { controls.push_back(control); }

void PanelEditor::updateControls(std::int32_t index, float value) {
    for (Control* control : controls) {
        if (control == nullptr || control->paramIndex != index) continue;
        if (std::fabs(control->getValue() - value) > updateTolerance) control->setValue(value, false);
    }
}

void PanelEditor::reloadControls() {
    EffectBase* source = getEffect();
    if (source == nullptr) return;
    for (Control* control : controls) {
        if (control != nullptr) control->setValue(source->getParameter(control->paramIndex), false);
    }
}

void PanelEditor::redrawDirty() {
    if (!isOpen()) return;
    HWND target = window;
    if (target == nullptr) return;
    if (GetCurrentThreadId() == windowThread) {
        drawDirtyControls(target);
        return;
    }
    // The audio thread must never draw or wait for the window: hand the
    // drawing to the window's thread, once however many pushes arrive.
    if (redrawPending.exchange(true)) return;
    if (!PostMessageA(target, redrawMessage, 0, 0)) redrawPending = false;
}

void PanelEditor::drawDirtyControls(HWND target) {
    HDC dc = GetDC(target);
    if (dc == nullptr) return;
    for (Control* control : controls) drawControl(control, dc, erasePenColour, eraseBrushColour);
    ReleaseDC(target, dc);
}

LRESULT CALLBACK PanelEditor::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* editor = reinterpret_cast<PanelEditor*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (editor == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return editor->handleMessage(msg, wParam, lParam);
}

LRESULT PanelEditor::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const std::int32_t x = decodeCoordinate(LOWORD(lParam));
    const std::int32_t y = decodeCoordinate(HIWORD(lParam));
    switch (msg) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_MOUSEACTIVATE:
            SetFocus(window);
            return 0;
        case WM_MOUSEMOVE:
            trackPointer(x, y);
            redrawDirty();
            return 0;
        case WM_LBUTTONDOWN:
            press(x, y);
            redrawDirty();
            return 0;
        case WM_LBUTTONUP:
            release(x, y);
            redrawDirty();
            return 0;
        case WM_MOUSEWHEEL:
            wheel(wParam, x, y);
            redrawDirty();
            return 0;
        case redrawMessage:
            // Cleared before drawing, so a value pushed meanwhile posts anew.
            redrawPending = false;
            if (isOpen()) drawDirtyControls(window);
            return 0;
        default:
            return DefWindowProcA(window, msg, wParam, lParam);
    }
}

void PanelEditor::trackPointer(std::int32_t x, std::int32_t y) {
    Control* under = hitTest(x, y);
    if (capturedControl != nullptr) capturedControl->onDrag(x, y);
    if (hoverControl != nullptr && hoverControl != under) {
        // Nothing is entered in this message: a control reached straight
        // from another one is entered on the next movement.
        hoverControl->onMouseLeave(x, y);
        hoverControl = nullptr;
    } else if (hoverControl == nullptr && under != nullptr &&
               (capturedControl == nullptr || capturedControl == under)) {
        under->onMouseEnter(x, y);
        hoverControl = under;
    }
}

void PanelEditor::press(std::int32_t x, std::int32_t y) {
    Control* under = hitTest(x, y);
    if (under == nullptr) return;
    under->onMouseDown(0, x, y);
    capturedControl = under;
    SetCapture(window);
}

void PanelEditor::release(std::int32_t x, std::int32_t y) {
    Control* under = hitTest(x, y);
    if (under != nullptr && (capturedControl == nullptr || capturedControl == under)) under->onMouseUp(0, x, y);
    if (capturedControl != nullptr) {
        capturedControl->onDragEnd(x, y);
        capturedControl = nullptr;
        ReleaseCapture();
    }
}

void PanelEditor::wheel(WPARAM wParam, std::int32_t screenX, std::int32_t screenY) {
    POINT point{screenX, screenY};
    ScreenToClient(window, &point);
    Control* under = hitTest(point.x, point.y);
    if (under == nullptr) return;
    // Only a single notch upwards counts as up; every other delta, a double
    // notch included, turns the control down.
    under->onWheel(HIWORD(wParam) == wheelNotch ? 1 : -1);
}

Control* PanelEditor::hitTest(std::int32_t x, std::int32_t y) {
    // Strict on all four sides: the left and top edges belong to nothing.
    for (Control* control : controls) {
        if (control == nullptr) continue;
        if (control->x < x && x < control->x + control->width && control->y < y && y < control->y + control->height)
            return control;
    }
    return nullptr;
}

void PanelEditor::drawControl(Control* control, HDC dc, COLORREF penColour, COLORREF brushColour) {
    // Taking the flag before drawing keeps a value pushed during the draw:
    // it marks the control dirty again for the next redraw.
    if (control == nullptr || !control->dirty.exchange(false)) return;
    if (control->erase) {
        const std::int32_t left = control->x;
        const std::int32_t top = control->y;
        const std::int32_t right = control->x + control->width;
        const std::int32_t bottom = control->y + control->height;
        if (control->oval) {
            HPEN pen = CreatePen(PS_SOLID, 1, penColour);
            HBRUSH brush = CreateSolidBrush(brushColour);
            HGDIOBJ previousPen = SelectObject(dc, pen);
            HGDIOBJ previousBrush = SelectObject(dc, brush);
            Ellipse(dc, left, top, right, bottom);
            SelectObject(dc, previousPen);
            SelectObject(dc, previousBrush);
            DeleteObject(pen);
            DeleteObject(brush);
        } else {
            const RECT area{left, top, right, bottom};
            HBRUSH brush = CreateSolidBrush(brushColour);
            FillRect(dc, &area, brush);
            DeleteObject(brush);
        }
    }
    control->draw(dc, penColour, brushColour);
}

void PanelEditor::paint() {
    if (!isOpen()) return;
    PAINTSTRUCT paintInfo{};
    HDC dc = BeginPaint(window, &paintInfo);
    if (hasBackground) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(source, background);
        BITMAP size{};
        GetObjectA(background, sizeof size, &size);
        BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    } else {
        HBRUSH brush = CreateSolidBrush(backgroundColour);
        FillRect(dc, &clientRect, brush);
        DeleteObject(brush);
    }
    for (Control* control : controls) {
        if (control == nullptr) continue;
        control->dirty = true;
        drawControl(control, dc, erasePenColour, eraseBrushColour);
    }
    EndPaint(window, &paintInfo);
}
