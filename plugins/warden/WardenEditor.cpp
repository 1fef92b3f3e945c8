#include "WardenEditor.h"

#include "Knob.h"
#include "ReductionLed.h"
#include "WardenParameters.h"

#include <cstdint>

namespace {

// The panel is the size of its background picture.
constexpr std::int32_t panelWidth = 416;
constexpr std::int32_t panelHeight = 82;

// Resource ids of the library's pictures (resources/warden.rc).
constexpr int backgroundId = 101;
constexpr int knobStripId = 102;
constexpr int knobMaskId = 103;
constexpr int ledId = 104;

// Every knob: 26 x 26 frames, 64 of them, no snap zone.
constexpr std::int32_t knobSize = 26;
constexpr std::int32_t knobFrames = 64;
constexpr float noDetent = 0.0f;
constexpr std::int32_t knobY = 28;
/// Knob x positions for threshold, attack and release, over their captions.
constexpr std::int32_t knobX[] = {28, 69, 110};

// The meter: nine 8 x 8 LEDs edge to edge, the unlit frame 8 rows below the lit one.
constexpr std::int32_t ledSize = 8;
constexpr std::int32_t ledFrameOffset = 8;
constexpr std::int32_t meterX = 156;
constexpr std::int32_t meterY = 41;
/// One LED per tenth of reduction; the rightmost lights first.
constexpr float ledThresholds[] = {0.9f, 0.8f, 0.7f, 0.6f, 0.5f, 0.4f, 0.3f, 0.2f, 0.1f};

HBITMAP loadPicture(HINSTANCE module, int id) { return LoadBitmapA(module, MAKEINTRESOURCEA(id)); }

void deletePicture(HBITMAP picture) {
    if (picture != nullptr) DeleteObject(picture);
}

}  // namespace

WardenEditor::WardenEditor(EffectBase* effect) : PanelEditor(effect, panelWidth, panelHeight) {
    backgroundBitmap = loadPicture(instance, backgroundId);
    knobStrip = loadPicture(instance, knobStripId);
    knobMask = loadPicture(instance, knobMaskId);
    ledBitmap = loadPicture(instance, ledId);

    // Without its picture the panel paints its plain colour; the controls still come.
    background = backgroundBitmap;
    hasBackground = backgroundBitmap != nullptr;

    // Each kind of control needs its own pictures; without them the meter
    // goes unseen, or the parameters are left to the host.
    if (ledBitmap != nullptr) addMeter();
    if (knobStrip != nullptr && knobMask != nullptr) addKnobs();
}

WardenEditor::~WardenEditor() {
    deletePicture(backgroundBitmap);
    deletePicture(knobStrip);
    deletePicture(knobMask);
    deletePicture(ledBitmap);
}

void WardenEditor::addMeter() {
    std::int32_t x = meterX;
    for (const float threshold : ledThresholds) {
        auto* led = new ReductionLed(x, meterY, ledSize, ledSize, threshold, ledBitmap, ledFrameOffset);
        led->paramIndex = warden::kMeter;
        led->owner = this;
        led->automated = true;
        addControl(led);
        x += ledSize;
    }
}

void WardenEditor::addKnobs() {
    for (const std::int32_t index : {warden::kThreshold, warden::kAttack, warden::kRelease}) {
        auto* knob = new Knob(knobX[index], knobY, knobSize, knobSize, noDetent, noDetent, knobStrip, knobMask,
                              knobSize, knobFrames);
        knob->paramIndex = index;
        knob->owner = this;
        // A turn of the knob reaches the host as automation.
        knob->automated = true;
        addControl(knob);
    }
}
