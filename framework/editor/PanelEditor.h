// The bitmap panel: one child window inside the host's window, painted from a
// background bitmap (or a flat colour) and a list of controls, with the left
// mouse button, pointer movement and the wheel routed to the control under
// the pointer. Concrete editors load their bitmaps and add their controls in
// their constructors.
#pragma once

#include "Control.h"
#include "EditorBase.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

class PanelEditor : public EditorBase {
public:
    PanelEditor(EffectBase* effect, std::int32_t width, std::int32_t height);
    ~PanelEditor() override;

    bool getRect(ERect** out) override;
    /// Opens a fresh window in parent; an editor already open closes its
    /// old window first. Answers false, staying closed, when no window can
    /// be created.
    bool open(void* parent) override;
    void close() override;

    /// Takes ownership of a control created with new.
    void addControl(Control* control);
    /// Pushes a parameter's new value into the controls bound to it; draws nothing.
    void updateControls(std::int32_t index, float value);
    /// Loads every control's value from the effect; draws nothing.
    void reloadControls();
    /// Draws the dirty controls. Any thread may call it: off the window's
    /// thread it only asks the window's thread to draw and returns at once.
    void redrawDirty();

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    /// Posted to the window by redrawDirty from other threads.
    static constexpr UINT redrawMessage = WM_USER;

    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void paint();
    void drawControl(Control* control, HDC dc, COLORREF penColour, COLORREF brushColour);
    Control* hitTest(std::int32_t x, std::int32_t y);

    ERect rect;
    RECT clientRect;
    // Read by the threads that push values while the window's thread opens
    // and closes the editor.
    std::atomic<HWND> window{nullptr};
    COLORREF erasePenColour = RGB(0, 0, 0);
    COLORREF eraseBrushColour = RGB(250, 250, 250);
    COLORREF backgroundColour = RGB(150, 150, 150);
    std::int32_t width;
    std::int32_t height;
    HBITMAP background = nullptr;
    std::vector<Control*> controls;
    Control* hoverControl = nullptr;
    Control* capturedControl = nullptr;
    bool hasBackground = false;
    HINSTANCE instance;

private:
    void trackPointer(std::int32_t x, std::int32_t y);
    void press(std::int32_t x, std::int32_t y);
    void release(std::int32_t x, std::int32_t y);
    void wheel(WPARAM wParam, std::int32_t screenX, std::int32_t screenY);
    void drawDirtyControls(HWND target);

    /// The thread that created the window, the only one that draws into it.
    std::atomic<DWORD> windowThread{0};
    /// Set while a redraw message is on its way, so pushes cannot flood the queue.
    std::atomic<bool> redrawPending{false};
};
