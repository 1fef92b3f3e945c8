// Everything that sits on a panel: a rectangle bound to one effect parameter,
// with a value, a dirty flag and the mouse and drawing hooks the editor calls.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

class PanelEditor;

class Control {
public:
    Control(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, float value, bool oval)
        : x(x), y(y), width(width), height(height), value(value), oval(oval) {}
    virtual ~Control() = default;

    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Coordinates are client pixels of the editor window; button is always 0.
    virtual void onMouseDown(std::int32_t /*button*/, std::int32_t /*x*/, std::int32_t /*y*/) {}
    virtual void onMouseUp(std::int32_t /*button*/, std::int32_t /*x*/, std::int32_t /*y*/) {}
    virtual void onMouseEnter(std::int32_t /*x*/, std::int32_t /*y*/) {}
    virtual void onMouseLeave(std::int32_t /*x*/, std::int32_t /*y*/) {}
    virtual void onDragEnd(std::int32_t /*x*/, std::int32_t /*y*/) {}
    virtual void onDrag(std::int32_t /*x*/, std::int32_t /*y*/) {}
    /// step is +1 or -1.
    virtual void onWheel(std::int32_t /*step*/) {}
    virtual void draw(HDC /*dc*/, COLORREF /*penColour*/, COLORREF /*brushColour*/) {}
    virtual void setValue(float newValue, bool notify) = 0;
    virtual float getValue() = 0;

    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
    // The value and the dirty flag are written by whichever thread pushes
    // parameter values and read by the window's thread while it draws.
    std::atomic<float> value;
    std::int32_t paramIndex = 0;
    PanelEditor* owner = nullptr;
    bool automated = false;
    std::atomic<bool> dirty{true};
    bool oval;
    bool erase = false;

protected:
    /// Tells the owner's effect about the current value: as a user change the
    /// host records when automated, else as a plain store.
    void notifyEffect();
};
