#include "SwirlEditor.h"

#include "Knob.h"
#include "SwirlIdentity.h"

#include <cstdint>

namespace {

// The panel is the size of its background picture.
constexpr std::int32_t panelWidth = 785;
constexpr std::int32_t panelHeight = 82;

// Resource ids of the library's pictures (resources/swirl.rc).
constexpr int backgroundId = 101;
constexpr int knobStripId = 103;
constexpr int knobMaskId = 104;

// Every knob: 26 x 26 frames, 64 of them, no snap zone.
constexpr std::int32_t knobSize = 26;
constexpr std::int32_t knobFrames = 64;
constexpr float noDetent = 0.0f;

struct KnobPlace {
    std::int32_t x;
    std::int32_t y;
};

/// Knob positions in parameter order: five flanger knobs, then, after a gap,
/// three phaser knobs, under the group captions the background carries.
constexpr KnobPlace knobPlaces[swirl::parameterCount] = {
    {136, 35}, {185, 35}, {233, 35}, {282, 35}, {331, 35}, {426, 35}, {475, 35}, {524, 35},
};

HBITMAP loadPicture(HINSTANCE module, int id) { return LoadBitmapA(module, MAKEINTRESOURCEA(id)); }

void deletePicture(HBITMAP picture) {
    if (picture != nullptr) DeleteObject(picture);
}

}  // namespace

SwirlEditor::SwirlEditor(EffectBase* effect) : PanelEditor(effect, panelWidth, panelHeight) {
    backgroundBitmap = loadPicture(instance, backgroundId);
    knobStrip = loadPicture(instance, knobStripId);
    knobMask = loadPicture(instance, knobMaskId);

    // Without its picture the panel paints its plain colour; the knobs still come.
    background = backgroundBitmap;
    hasBackground = backgroundBitmap != nullptr;

    // A knob needs both its pictures; without them the panel has no controls
    // and the parameters are left to the host.
    if (knobStrip == nullptr || knobMask == nullptr) return;
    for (std::int32_t index = 0; index < swirl::parameterCount; ++index) {
        auto* knob = new Knob(knobPlaces[index].x, knobPlaces[index].y, knobSize, knobSize, noDetent, noDetent,
                              knobStrip, knobMask, knobSize, knobFrames);
        knob->paramIndex = index;
        knob->owner = this;
        // A turn of the knob reaches the host as automation.
        knob->automated = true;
        addControl(knob);
    }
}

SwirlEditor::~SwirlEditor() {
    deletePicture(backgroundBitmap);
    deletePicture(knobStrip);
    deletePicture(knobMask);
}
