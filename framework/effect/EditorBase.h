// The editor interface the effect's dispatchers talk to.
#pragma once

#include "HostInterface.h"

#include <atomic>

class EffectBase;

class EditorBase {
public:
    explicit EditorBase(EffectBase* owner) : effect(owner) {}
    virtual ~EditorBase() = default;

    EditorBase(const EditorBase&) = delete;
    EditorBase& operator=(const EditorBase&) = delete;

    /// The effect that created this editor (never owned).
    virtual EffectBase* getEffect() { return effect; }
    /// Hands the host this editor's size; the default has none.
    virtual bool getRect(ERect** out) {
        *out = nullptr;
        return false;
    }
    /// Opens the editor inside the host's window.
    virtual bool open(void* parent) {
        parentWindow = parent;
        return false;
    }
    /// Closes the editor's window.
    virtual void close() { parentWindow = nullptr; }
    /// True exactly while the editor is open.
    virtual bool isOpen() { return parentWindow != nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool setKnobMode(std::int32_t /*mode*/) { return false; }

protected:
    EffectBase* effect;
    // Read by the audio thread (a meter asks isOpen) while the window's
    // thread opens and closes the editor.
    std::atomic<void*> parentWindow{nullptr};
};
