#include "PluginInfo.h"

const std::vector<std::string>& canDoQuestions() {
    static const std::vector<std::string> questions = {
        "sendVstEvents",   "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo",
        "offline",         "bypass",           "midiProgramNames",
    };
    return questions;
}

namespace {

std::vector<std::string> programNames(Effect& effect) {
    std::vector<std::string> names;
    const std::int32_t count = effect.record().numPrograms;
    for (std::int32_t program = 0; program < count; ++program) {
        std::string name = effect.text(effGetProgramNameIndexed, program);
        names.push_back(name);
    }
    // A plug-in that does not name programs by index is asked program by program,
    // and left on the program it was on.
    bool indexed = false;
    for (const std::string& name : names) indexed = indexed || !name.empty();
    if (!indexed && count > 0) {
        const auto current = static_cast<std::int32_t>(effect.dispatch(effGetProgram));
        for (std::int32_t program = 0; program < count; ++program) {
            effect.dispatch(effSetProgram, 0, program);
            names[static_cast<std::size_t>(program)] = effect.text(effGetProgramName);
        }
        effect.dispatch(effSetProgram, 0, current);
    }
    return names;
}

std::optional<EditorRect> editorRect(Effect& effect) {
    if ((effect.record().flags & effFlagsHasEditor) == 0) return std::nullopt;
    ERect* rect = nullptr;
    effect.dispatch(effEditGetRect, 0, 0, &rect);
    if (rect == nullptr) return std::nullopt;
    return EditorRect{rect->top, rect->left, rect->bottom, rect->right};
}

}  // namespace

PluginInfo collectInfo(Effect& effect, const std::string& file) {
    const AEffect& record = effect.record();
    PluginInfo info;
    info.file = file;
    info.effectName = effect.text(effGetEffectName);
    info.productString = effect.text(effGetProductString);
    info.vendorString = effect.text(effGetVendorString);
    info.vendorVersion = effect.dispatch(effGetVendorVersion);
    info.uniqueId = record.uniqueID;
    info.vstVersion = effect.dispatch(effGetVstVersion);
    info.category = effect.dispatch(effGetPlugCategory);
    info.flags = record.flags;
    info.inputs = record.numInputs;
    info.outputs = record.numOutputs;
    info.initialDelay = record.initialDelay;
    info.effectVersion = record.version;
    info.programs = programNames(effect);
    for (std::int32_t index = 0; index < record.numParams; ++index)
        info.parameters.push_back({index, effect.text(effGetParamName, index), effect.text(effGetParamLabel, index),
                                   effect.text(effGetParamDisplay, index), effect.getParameter(index)});
    info.editor = editorRect(effect);
    for (const std::string& question : canDoQuestions()) {
        std::string text = question;
        info.canDo.push_back({question, effect.dispatch(effCanDo, 0, 0, text.data())});
    }
    return info;
}
