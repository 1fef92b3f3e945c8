#include "Led.h"

Led::Led(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, float threshold, HBITMAP bitmap,
         std::int32_t frameOffset)
    : Control(x, y, width, height, 0.0f, false), bitmap(bitmap), frameOffset(frameOffset), threshold(threshold) {}

void Led::draw(HDC dc, COLORREF /*penColour*/, COLORREF /*brushColour*/) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, bitmap);
    const std::int32_t sourceY = threshold > value ? frameOffset : 0;
    BitBlt(dc, x, y, width, height, source, 0, sourceY, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

void Led::setValue(float newValue, bool notify) {
    value = newValue;
    if (notify) notifyEffect();
    dirty = true;
}
