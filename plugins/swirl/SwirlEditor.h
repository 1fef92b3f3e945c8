// The Swirl panel: the background picture and eight film-strip knobs, one per
// parameter. Window handling, painting and the knobs' behaviour are the
// panel framework's; this fixes the pictures and the layout.
#pragma once

#include "PanelEditor.h"

#include <windows.h>

class SwirlEditor : public PanelEditor {
public:
    explicit SwirlEditor(EffectBase* effect);
    ~SwirlEditor() override;

private:
    HBITMAP backgroundBitmap = nullptr;
    HBITMAP knobStrip = nullptr;
    HBITMAP knobMask = nullptr;
};
