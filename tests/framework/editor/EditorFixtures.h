// What the editor tests share: an effect that records what reaches it, a
// control that records what the editor calls, a panel that opens its
// internals to the tests, and small synthetic pictures.
#pragma once

#include "BmpFile.h"
#include "ExtendedEffect.h"
#include "FakeHost.h"
#include "GuiDriver.h"
#include "Knob.h"
#include "Led.h"
#include "ModuleInstance.h"
#include "PanelEditor.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace fixtures {

/// Stores parameters and, like the plug-ins, pushes each stored value into
/// the panel's controls and redraws.
class RecordingEffect : public ExtendedEffect {
public:
    explicit RecordingEffect(HostCallback callback) : ExtendedEffect(callback, 1, 8) {}
    void processReplacing(float**, float**, std::int32_t) override {}

    void setParameter(std::int32_t index, float value) override {
        stored.emplace_back(index, value);
        parameters[static_cast<std::size_t>(index)] = value;
        if (panel != nullptr) {
            panel->updateControls(index, value);
            panel->redrawDirty();
        }
    }
    float getParameter(std::int32_t index) override { return parameters[static_cast<std::size_t>(index)]; }

    std::array<float, 8> parameters{};
    std::vector<std::pair<std::int32_t, float>> stored;
    PanelEditor* panel = nullptr;
};

/// Writes every call the editor makes into a shared log, as "name.event x,y".
class ProbeControl : public Control {
public:
    ProbeControl(std::string name, std::vector<std::string>& log, int x, int y, int width, int height)
        : Control(x, y, width, height, 0.0f, false), name(std::move(name)), log(log) {}

    void onMouseDown(std::int32_t button, std::int32_t px, std::int32_t py) override {
        record("down", px, py, button);
    }
    void onMouseUp(std::int32_t button, std::int32_t px, std::int32_t py) override { record("up", px, py, button); }
    void onMouseEnter(std::int32_t px, std::int32_t py) override { record("enter", px, py); }
    void onMouseLeave(std::int32_t px, std::int32_t py) override { record("leave", px, py); }
    void onDragEnd(std::int32_t px, std::int32_t py) override { record("dragEnd", px, py); }
    void onDrag(std::int32_t px, std::int32_t py) override { record("drag", px, py); }
    void onWheel(std::int32_t step) override { log.push_back(name + ".wheel " + std::to_string(step)); }
    void draw(HDC, COLORREF penColour, COLORREF brushColour) override {
        if (logDraws) log.push_back(name + ".draw " + std::to_string(penColour) + "," + std::to_string(brushColour));
    }
    void setValue(float newValue, bool notify) override {
        log.push_back(name + ".set " + std::to_string(newValue) + (notify ? " notify" : ""));
        value = newValue;
    }
    float getValue() override { return value; }

    bool logDraws = false;

private:
    void record(const char* event, std::int32_t px, std::int32_t py, std::int32_t button = 0) {
        std::string entry = name + "." + event + " " + std::to_string(px) + "," + std::to_string(py);
        if (button != 0) entry += " button " + std::to_string(button);
        log.push_back(entry);
    }

    std::string name;
    std::vector<std::string>& log;
};

/// A concrete editor as the plug-ins build one, with its internals in reach.
class TestPanel : public PanelEditor {
public:
    TestPanel(EffectBase* effect, int width, int height) : PanelEditor(effect, width, height) {}

    /// Adds a control bound to parameter index, as a concrete editor does.
    template <typename C>
    C* add(C* control, std::int32_t index = 0, bool automated = true) {
        control->paramIndex = index;
        control->owner = this;
        control->automated = automated;
        addControl(control);
        return control;
    }
    void setBackground(HBITMAP bitmap) {
        background = bitmap;
        hasBackground = bitmap != nullptr;
    }
    HWND windowHandle() const { return window; }

    using PanelEditor::hitTest;
};

/// Sets the module the editor registers its class under, as a plug-in's
/// start-up does.
inline void useTestModule() { moduleInstance = gui::testModule(); }

// Knob pictures: a disc inside a 9 x 9 square; each frame of the strip fills
// the disc with a colour of its own, so a pixel tells which frame was drawn.
constexpr int knobSize = 9;
constexpr int knobFrames = 64;

inline bool insideDisc(int x, int y) { return (x - 4) * (x - 4) + (y - 4) * (y - 4) <= 12; }

inline bmp::Rgb knobFrameColour(int frame) {
    return {static_cast<std::uint8_t>(4 * frame + 1), static_cast<std::uint8_t>(255 - 3 * frame),
            static_cast<std::uint8_t>(0x40 + frame)};
}

inline std::vector<unsigned char> knobStrip() {
    return bmp::image24(knobSize, knobSize * knobFrames, [](int x, int y) {
        return insideDisc(x, y % knobSize) ? knobFrameColour(y / knobSize) : bmp::Rgb{0, 0, 0};
    });
}

inline std::vector<unsigned char> knobMask() {
    return bmp::image8(knobSize, knobSize, {{0, 0, 0}, {255, 255, 255}},
                       [](int x, int y) { return static_cast<std::uint8_t>(insideDisc(x, y) ? 0 : 1); });
}

/// A background whose every pixel differs from its neighbours.
inline bmp::Rgb backgroundColour(int x, int y) {
    return {static_cast<std::uint8_t>(x * 5 + 3), static_cast<std::uint8_t>(y * 7 + 11),
            static_cast<std::uint8_t>((x * 3 + y * 13) & 0xFF)};
}

inline std::uint32_t pixelOf(bmp::Rgb c) {
    return (static_cast<std::uint32_t>(c.r) << 16) | (static_cast<std::uint32_t>(c.g) << 8) | c.b;
}

// LED pictures: two 6 x 6 frames stacked, lit on top; each pixel of a frame
// differs, so a shifted copy shows.
constexpr int ledSize = 6;

inline bmp::Rgb ledColour(bool lit, int x, int y) {
    const auto shade = static_cast<std::uint8_t>(x * 6 + y);
    return lit ? bmp::Rgb{shade, 200, 40} : bmp::Rgb{90, 90, static_cast<std::uint8_t>(100 + shade)};
}

inline std::vector<unsigned char> ledPicture() {
    return bmp::image24(ledSize, 2 * ledSize,
                        [](int x, int y) { return ledColour(y < ledSize, x, y % ledSize); });
}

}  // namespace fixtures
