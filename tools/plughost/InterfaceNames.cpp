#include "InterfaceNames.h"

#include "HostInterface.h"

#include <array>
#include <utility>

namespace {

template <typename T>
using NameTable = std::initializer_list<std::pair<T, const char*>>;

constexpr NameTable<std::int32_t> kHostOpcodes = {
    {audioMasterAutomate, "audioMasterAutomate"},
    {audioMasterVersion, "audioMasterVersion"},
    {audioMasterCurrentId, "audioMasterCurrentId"},
    {audioMasterIdle, "audioMasterIdle"},
    {audioMasterPinConnected, "audioMasterPinConnected"},
    {audioMasterWantMidi, "audioMasterWantMidi"},
    {audioMasterGetTime, "audioMasterGetTime"},
    {audioMasterTempoAt, "audioMasterTempoAt"},
    {audioMasterGetNumAutomatableParameters, "audioMasterGetNumAutomatableParameters"},
    {audioMasterGetParameterQuantization, "audioMasterGetParameterQuantization"},
    {audioMasterIOChanged, "audioMasterIOChanged"},
    {audioMasterNeedIdle, "audioMasterNeedIdle"},
    {audioMasterSizeWindow, "audioMasterSizeWindow"},
    {audioMasterGetSampleRate, "audioMasterGetSampleRate"},
    {audioMasterGetBlockSize, "audioMasterGetBlockSize"},
    {audioMasterGetInputLatency, "audioMasterGetInputLatency"},
    {audioMasterGetOutputLatency, "audioMasterGetOutputLatency"},
    {audioMasterGetPreviousPlug, "audioMasterGetPreviousPlug"},
    {audioMasterGetNextPlug, "audioMasterGetNextPlug"},
    {audioMasterWillReplaceOrAccumulate, "audioMasterWillReplaceOrAccumulate"},
    {audioMasterGetCurrentProcessLevel, "audioMasterGetCurrentProcessLevel"},
    {audioMasterGetAutomationState, "audioMasterGetAutomationState"},
    {audioMasterOfflineStart, "audioMasterOfflineStart"},
    {audioMasterOfflineRead, "audioMasterOfflineRead"},
    {audioMasterOfflineWrite, "audioMasterOfflineWrite"},
    {audioMasterOfflineGetCurrentPass, "audioMasterOfflineGetCurrentPass"},
    {audioMasterOfflineGetCurrentMetaPass, "audioMasterOfflineGetCurrentMetaPass"},
    {audioMasterSetOutputSampleRate, "audioMasterSetOutputSampleRate"},
    {audioMasterGetOutputSpeakerArrangement, "audioMasterGetOutputSpeakerArrangement"},
    {audioMasterGetVendorString, "audioMasterGetVendorString"},
    {audioMasterGetProductString, "audioMasterGetProductString"},
    {audioMasterGetVendorVersion, "audioMasterGetVendorVersion"},
    {audioMasterVendorSpecific, "audioMasterVendorSpecific"},
    {audioMasterCanDo, "audioMasterCanDo"},
    {audioMasterGetLanguage, "audioMasterGetLanguage"},
    {audioMasterOpenWindow, "audioMasterOpenWindow"},
    {audioMasterCloseWindow, "audioMasterCloseWindow"},
    {audioMasterGetDirectory, "audioMasterGetDirectory"},
    {audioMasterUpdateDisplay, "audioMasterUpdateDisplay"},
    {audioMasterBeginEdit, "audioMasterBeginEdit"},
    {audioMasterEndEdit, "audioMasterEndEdit"},
    {audioMasterOpenFileSelector, "audioMasterOpenFileSelector"},
    {audioMasterCloseFileSelector, "audioMasterCloseFileSelector"},
    {audioMasterGetChunkFile, "audioMasterGetChunkFile"},
    {audioMasterGetInputSpeakerArrangement, "audioMasterGetInputSpeakerArrangement"},
};

constexpr NameTable<std::int32_t> kFlags = {
    {effFlagsHasEditor, "effFlagsHasEditor"},
    {effFlagsHasClip, "effFlagsHasClip"},
    {effFlagsHasVu, "effFlagsHasVu"},
    {effFlagsCanMono, "effFlagsCanMono"},
    {effFlagsCanReplacing, "effFlagsCanReplacing"},
    {effFlagsProgramChunks, "effFlagsProgramChunks"},
    {effFlagsIsSynth, "effFlagsIsSynth"},
    {effFlagsNoSoundInStop, "effFlagsNoSoundInStop"},
    {effFlagsExtIsAsync, "effFlagsExtIsAsync"},
    {effFlagsExtHasBuffer, "effFlagsExtHasBuffer"},
    {effFlagsCanDoubleReplacing, "effFlagsCanDoubleReplacing"},
};

constexpr NameTable<std::int32_t> kCategories = {
    {kPlugCategUnknown, "unknown"},
    {kPlugCategEffect, "effect"},
    {kPlugCategSynth, "synth"},
    {kPlugCategAnalysis, "analysis"},
    {kPlugCategMastering, "mastering"},
    {kPlugCategSpacializer, "spacializer"},
    {kPlugCategRoomFx, "room effect"},
    {kPlugSurroundFx, "surround effect"},
    {kPlugCategRestoration, "restoration"},
    {kPlugCategOfflineProcess, "offline process"},
    {kPlugCategShell, "shell"},
    {kPlugCategGenerator, "generator"},
};

const char* find(NameTable<std::int32_t> table, std::int32_t value) {
    for (const auto& [number, name] : table)
        if (number == value) return name;
    return nullptr;
}

}  // namespace

std::string hostOpcodeName(std::int32_t opcode) {
    const char* name = find(kHostOpcodes, opcode);
    return name != nullptr ? name : "opcode " + std::to_string(opcode);
}

std::vector<std::string> flagNames(std::int32_t flags) {
    std::vector<std::string> names;
    for (int bit = 0; bit < 32; ++bit) {
        const auto value = static_cast<std::int32_t>(1u << bit);
        if ((flags & value) == 0) continue;
        const char* name = find(kFlags, value);
        names.push_back(name != nullptr ? name : "bit " + std::to_string(bit));
    }
    return names;
}

std::string categoryName(std::int32_t category) {
    const char* name = find(kCategories, category);
    return name != nullptr ? name : "category " + std::to_string(category);
}

std::string fourCharacterText(std::int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>((static_cast<std::uint32_t>(id) >> shift) & 0xFF);
        text.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.');
    }
    return text;
}
