// A rotary knob drawn from a vertical film strip through a mask, dragged
// vertically with the left button.
#pragma once

#include "Control.h"

#include <atomic>
#include <cstdint>

class Knob : public Control {
public:
    /// strip and mask are borrowed; frames are frameHeight pixels high,
    /// stacked from fully anticlockwise (frame 0) to fully clockwise.
    Knob(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, float detentWidth,
         float detentValue, HBITMAP strip, HBITMAP mask, std::int32_t frameHeight, std::int32_t frameCount);

    void onMouseDown(std::int32_t button, std::int32_t x, std::int32_t y) override;
    void onDragEnd(std::int32_t x, std::int32_t y) override;
    void onDrag(std::int32_t x, std::int32_t y) override;
    void draw(HDC dc, COLORREF penColour, COLORREF brushColour) override;
    /// Clamps to 0 ... 1; marks the knob dirty only when its frame changes.
    void setValue(float newValue, bool notify) override;
    float getValue() override { return value; }

    std::int32_t dragY = 0;
    /// Half-width of the snap zone around detentValue; 0 means no detent.
    float detentWidth;
    float detentValue;
    // Written by whichever thread pushes values, like the value itself.
    std::atomic<std::int32_t> lastFrameOffset{noFrameOffset};
    std::int32_t frameCount;
    std::int32_t frameHeight;
    HBITMAP strip;
    HBITMAP mask;
    /// Tell the effect once at the end of the drag instead of at every step.
    bool notifyOnRelease = false;

private:
    /// No frame starts here, so the first value always changes the frame.
    static constexpr std::int32_t noFrameOffset = -1000;

    std::int32_t frameFor(float v) const;
};
