// A plug-in's effect, linked into the test, whose panel finds its pictures in
// a built library, with a host window to open the panel in and what a test
// reads off the open panel.
#pragma once

#include "FakeHost.h"
#include "GuiDriver.h"
#include "ModuleInstance.h"
#include "PanelAccess.h"
#include "PanelEditor.h"
#include "PictureModule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

template <typename Effect>
class PluginPanel {
public:
    /// library is the file of the library whose pictures the panel loads.
    PluginPanel(const std::string& library, int width, int height)
        : width(width), height(height), pictures(library) {
        EXPECT_NE(pictures.instance(), nullptr) << library;
        moduleInstance = pictures.instance();
        effect = std::make_unique<Effect>(FakeHost::callback());
        record = effect->getEffectRecord();
        parent = gui::createParentWindow(width, height);
    }
    ~PluginPanel() {
        effect.reset();
        gui::destroyParentWindow(parent);
        moduleInstance = nullptr;
    }
    PluginPanel(const PluginPanel&) = delete;
    PluginPanel& operator=(const PluginPanel&) = delete;

    PanelEditor& panel() const { return *dynamic_cast<PanelEditor*>(effect->getEditor()); }
    const std::vector<Control*>& controls() const { return PanelAccess::controlsOf(panel()); }

    /// The control at position index of the panel's list as a C, or null.
    template <typename C>
    C* control(std::size_t index) const {
        return index < controls().size() ? dynamic_cast<C*>(controls()[index]) : nullptr;
    }

    std::intptr_t dispatch(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                           void* ptr = nullptr) {
        return record->dispatcher(record, opcode, index, value, ptr, 0.0f);
    }
    void setParameter(std::int32_t index, float value) { record->setParameter(record, index, value); }
    float getParameter(std::int32_t index) { return record->getParameter(record, index); }

    void openAndPaint() {
        ASSERT_EQ(dispatch(effEditOpen, 0, 0, parent), 1);
        gui::runMessages();
        repaint();
    }

    /// A full WM_PAINT of the panel's window.
    void repaint() {
        HWND window = PanelAccess::windowOf(panel());
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }

    gui::Pixels pixels() const {
        gui::Pixels shown;
        EXPECT_TRUE(gui::readPixels(PanelAccess::windowOf(panel()), shown));
        EXPECT_EQ(shown.width, width);
        EXPECT_EQ(shown.height, height);
        return shown;
    }

    /// Presses at a client point, moves up by pixels one at a time, releases.
    void dragUp(int x, int y, int pixels) {
        gui::sendMouse(WM_LBUTTONDOWN, x, y);
        for (int step = 1; step <= pixels; ++step) gui::sendMouse(WM_MOUSEMOVE, x, y - step);
        gui::sendMouse(WM_LBUTTONUP, x, y - pixels);
    }

    const int width;
    const int height;
    FakeHost host;
    PictureModule pictures;
    std::unique_ptr<Effect> effect;
    AEffect* record = nullptr;
    HWND parent = nullptr;
};

/// The pixels of a square of the panel, row by row.
inline std::vector<std::uint32_t> squareOf(const gui::Pixels& shown, int left, int top, int size) {
    std::vector<std::uint32_t> square;
    for (int y = top; y < top + size; ++y)
        for (int x = left; x < left + size; ++x) square.push_back(shown.at(x, y));
    return square;
}
