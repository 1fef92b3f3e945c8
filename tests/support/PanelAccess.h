// What a plug-in's panel keeps to itself, read by the tests: its controls
// and its window. A pointer to a protected member, formed through a class
// derived from the panel, may be applied to any panel.
#pragma once

#include "PanelEditor.h"

#include <vector>

class PanelAccess : private PanelEditor {
public:
    PanelAccess() = delete;

    /// The panel's controls in drawing and hit-test order.
    static const std::vector<Control*>& controlsOf(PanelEditor& panel) { return panel.*(&PanelAccess::controls); }

    /// The panel's own window; meaningful while it is open.
    static HWND windowOf(PanelEditor& panel) { return (panel.*(&PanelAccess::window)).load(); }
};
