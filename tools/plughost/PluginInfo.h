// Everything `plughost info` reports about an effect, gathered through the
// record and the dispatcher the way a host fills its plug-in browser.
#pragma once

#include "Effect.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ParameterInfo {
    std::int32_t index;
    std::string name;
    std::string label;
    std::string display;
    float value;
};

struct EditorRect {
    int top, left, bottom, right;
};

struct CanDoAnswer {
    std::string text;
    std::intptr_t answer;  // 1 yes, -1 no, 0 does not know
};

struct PluginInfo {
    std::string file;
    std::string effectName;
    std::string productString;
    std::string vendorString;
    std::intptr_t vendorVersion = 0;
    std::int32_t uniqueId = 0;
    std::intptr_t vstVersion = 0;
    std::intptr_t category = 0;
    std::int32_t flags = 0;
    std::int32_t inputs = 0;
    std::int32_t outputs = 0;
    std::int32_t initialDelay = 0;
    std::int32_t effectVersion = 0;
    std::vector<std::string> programs;
    std::vector<ParameterInfo> parameters;
    /// Only for an effect that announces an editor and gives its size.
    std::optional<EditorRect> editor;
    std::vector<CanDoAnswer> canDo;
};

/// Asks an opened effect for its identity, programs, parameters, editor size and a few canDo texts.
PluginInfo collectInfo(Effect& effect, const std::string& file);

/// The canDo texts asked about.
const std::vector<std::string>& canDoQuestions();
