// A two-state indicator: the lit frame once the value reaches the threshold,
// the unlit frame below it. It ignores the mouse.
#pragma once

#include "Control.h"

#include <cstdint>

class Led : public Control {
public:
    /// bitmap is borrowed: the lit frame on top, the unlit one from row frameOffset.
    Led(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, float threshold, HBITMAP bitmap,
        std::int32_t frameOffset);

    void draw(HDC dc, COLORREF penColour, COLORREF brushColour) override;
    /// Stores the value as given and always marks the LED dirty.
    void setValue(float newValue, bool notify) override;
    float getValue() override { return value; }

    HBITMAP bitmap;
    std::int32_t frameOffset;
    float threshold;
};
