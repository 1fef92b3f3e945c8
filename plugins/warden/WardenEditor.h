// The compressor's panel: the background picture, three film-strip knobs for
// threshold, attack and release, and a bar of nine LEDs showing the gain
// reduction. Window handling, painting and the controls' behaviour are the
// panel framework's; this fixes the pictures and the layout.
#pragma once

#include "PanelEditor.h"

#include <windows.h>

class WardenEditor : public PanelEditor {
public:
    explicit WardenEditor(EffectBase* effect);
    ~WardenEditor() override;

private:
    void addMeter();
    void addKnobs();

    HBITMAP backgroundBitmap = nullptr;
    HBITMAP knobStrip = nullptr;
    HBITMAP knobMask = nullptr;
    HBITMAP ledBitmap = nullptr;
};
