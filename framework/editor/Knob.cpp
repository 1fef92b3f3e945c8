#include "Knob.h"

#include <cmath>

namespace {

/// Value change per pixel of vertical movement: 200 pixels cover the range.
constexpr float dragSensitivity = 0.005f;

/// A drag step must change the value's thousandths to count.
constexpr float dragResolution = 1000.0f;

float clampUnit(float v) {
    if (v > 1.0f) return 1.0f;
    if (v < 0.0f) return 0.0f;
    return v;
}

}  // namespace

Knob::Knob(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, float detentWidth,
           float detentValue, HBITMAP strip, HBITMAP mask, std::int32_t frameHeight, std::int32_t frameCount)
    : Control(x, y, width, height, 0.5f, true),
      detentWidth(detentWidth),
      detentValue(detentValue),
      frameCount(frameCount),
      frameHeight(frameHeight),
      strip(strip),
      mask(mask) {}

std::int32_t Knob::frameFor(float v) const {
    // Frame k covers k / (frameCount - 1) up to the next frame; only 1.0
    // shows the last one.
    return static_cast<std::int32_t>(static_cast<float>(frameCount - 1) * v);
}

void Knob::setValue(float newValue, bool notify) {
    const float v = clampUnit(newValue);
    if (v == value) return;
    value = v;
    if (notify) notifyEffect();
    const std::int32_t offset = frameFor(v) * frameHeight;
    if (offset != lastFrameOffset) {
        dirty = true;
        lastFrameOffset = offset;
    }
}

void Knob::onMouseDown(std::int32_t /*button*/, std::int32_t /*x*/, std::int32_t y) { dragY = y; }

void Knob::onDrag(std::int32_t /*x*/, std::int32_t y) {
    const float current = value;
    // Incremental: the step starts from the current value, which the effect
    // may have moved since the last step. Upwards raises the value.
    float candidate = clampUnit(current - static_cast<float>(y - dragY) * dragSensitivity);
    if (detentWidth > std::fabs(candidate - detentValue)) {
        // Held in the zone: the movement keeps accumulating from the last
        // point outside it.
        candidate = detentValue;
    } else {
        dragY = y;
    }
    if (static_cast<std::int32_t>(candidate * dragResolution) != static_cast<std::int32_t>(current * dragResolution))
        setValue(candidate, !notifyOnRelease);
}

void Knob::onDragEnd(std::int32_t /*x*/, std::int32_t /*y*/) {
    if (notifyOnRelease) notifyEffect();
    // Every release redraws the knob, moved or not.
    dirty = true;
}

void Knob::draw(HDC dc, COLORREF /*penColour*/, COLORREF /*brushColour*/) {
    const std::int32_t sourceY = frameFor(value) * frameHeight;
    HDC source = CreateCompatibleDC(dc);
    // The mask blackens the disc and keeps the background around it; the
    // frame's black surround then leaves that background untouched.
    HGDIOBJ previous = SelectObject(source, mask);
    BitBlt(dc, x, y, width, height, source, 0, 0, SRCAND);
    SelectObject(source, strip);
    BitBlt(dc, x, y, width, height, source, 0, sourceY, SRCPAINT);
    SelectObject(source, previous);
    DeleteDC(source);
}
