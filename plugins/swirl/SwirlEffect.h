// The plug-in class: a step flanger followed by a step phaser, eight
// parameters, and a bank of eight programs the host keeps as chunks.
#pragma once

#include "ExtendedEffect.h"
#include "ProgramBank.h"
#include "StepFlanger.h"
#include "StepPhaser.h"

#include <memory>

class PanelEditor;

class SwirlEffect : public ExtendedEffect {
public:
    explicit SwirlEffect(HostCallback hostCallback);
    ~SwirlEffect() override;

    void setSampleRate(float rate) override;
    void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    void setParameter(std::int32_t index, float value) override;
    float getParameter(std::int32_t index) override;
    std::int32_t getProgram() override;
    void setProgram(std::int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(std::int32_t index, char* label) override;
    void getParameterDisplay(std::int32_t index, char* text) override;
    void getParameterName(std::int32_t index, char* text) override;
    std::int32_t getChunk(void** data, bool isPreset) override;
    std::int32_t setChunk(void* data, std::int32_t byteSize, bool isPreset) override;
    bool canParameterBeAutomated(std::int32_t index) override;
    bool getProgramNameIndexed(std::int32_t category, std::int32_t index, char* text) override;
    bool getEffectName(char* text) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    std::int32_t getVendorVersion() override;
    std::int32_t canDo(char* text) override;

private:
    /// The record of the current program.
    ProgramRecord& currentRecord();
    bool isParameter(std::int32_t index) const { return index >= 0 && index < numParams; }
    bool isProgram(std::int32_t index) const { return index >= 0 && index < numPrograms; }

    /// The attached panel, or null when the effect runs without one.
    PanelEditor* panel();

    // The panel's knobs mirror the stored values. Each of these is where the
    // effect tells the panel; without an editor there is nothing to tell.
    /// After a host change of one parameter: its knobs take the value and are drawn.
    void showParameter(std::int32_t index, float value);
    /// After a program change: every knob takes its value and is drawn.
    void showProgram();
    /// After construction and chunk loads: every knob takes its value, drawn at the next paint.
    void reloadPanel();

    std::unique_ptr<ProgramBank> bank;
    std::unique_ptr<StepPhaser> phaser;
    std::unique_ptr<StepFlanger> flanger;
};
