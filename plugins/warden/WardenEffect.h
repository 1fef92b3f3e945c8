// The compressor plug-in's effect: four parameters (threshold, attack,
// release and the gain meter), one program, a 16-byte chunk of the parameter
// values, and a CompressorCore doing all of the audio.
#pragma once

#include "CompressorCore.h"
#include "ExtendedEffect.h"
#include "WardenParameters.h"

#include <atomic>
#include <cstdint>
#include <memory>

class PanelEditor;

class WardenEffect : public ExtendedEffect {
public:
    explicit WardenEffect(HostCallback callback);
    ~WardenEffect() override;

    void setSampleRate(float rate) override;
    void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    void setParameter(std::int32_t index, float value) override;
    float getParameter(std::int32_t index) override;
    void setProgram(std::int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(std::int32_t index, char* label) override;
    void getParameterDisplay(std::int32_t index, char* text) override;
    void getParameterName(std::int32_t index, char* text) override;
    /// Hands out the live parameter values themselves, not a copy.
    std::int32_t getChunk(void** data, bool isPreset) override;
    /// Loads whole values from the start of the chunk; answers the bytes loaded.
    std::int32_t setChunk(void* data, std::int32_t byteSize, bool isPreset) override;
    bool canParameterBeAutomated(std::int32_t index) override;
    bool getProgramNameIndexed(std::int32_t category, std::int32_t index, char* text) override;
    bool getEffectName(char* text) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    std::int32_t getVendorVersion() override;
    std::int32_t canDo(char* text) override;

    /// The signal path, for inspection.
    const CompressorCore& compressor() const { return *core; }

private:
    static bool isParameter(std::int32_t index) { return index >= 0 && index < warden::kParameterCount; }
    float loadParameter(std::int32_t index);
    void storeParameter(std::int32_t index, float value);
    /// Sets the core's threshold, attack and release from the stored values.
    void applyParametersToCore();

    /// The attached panel, or null when there is none.
    PanelEditor* panel();

    // The panel's controls mirror the parameter storage through these three
    // steps and nowhere else: hand one value to the controls of its index,
    // reload every control from the storage, draw the controls that changed.
    // Without a panel each step has nothing to do.
    void pushToPanel(std::int32_t index, float value);
    void reloadPanel();
    void redrawPanel();
    /// Stores the gain as the meter value when its tenth changed while the panel is open.
    void updateMeter(float gain);

    // Plain floats, because getChunk hands the host their address; every access
    // from the effect goes through std::atomic_ref, since the audio thread, the
    // host's threads and the panel's thread all reach them.
    alignas(std::atomic_ref<float>::required_alignment) float params[warden::kParameterCount];
    char programName[warden::kProgramNameStorage];
    std::unique_ptr<CompressorCore> core;
};
