#include "InfoPrinter.h"

#include "HostInterface.h"
#include "InterfaceNames.h"
#include "JsonText.h"

#include <cstdio>
#include <string>

namespace {

std::string format(const char* pattern, auto... values) {
    const int length = std::snprintf(nullptr, 0, pattern, values...);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern, values...);
    text.pop_back();
    return text;
}

std::string canDoWord(std::intptr_t answer) {
    if (answer > 0) return "yes";
    if (answer < 0) return "no";
    return "don't know";
}

std::string joined(const std::vector<std::string>& words, const std::string& separator) {
    std::string out;
    for (const std::string& word : words) {
        if (!out.empty()) out += separator;
        out += word;
    }
    return out;
}

// Six significant digits read better than the nine that identify a float.
std::string decimal(float value) { return format("%g", static_cast<double>(value)); }

}  // namespace

std::string infoText(const PluginInfo& info) {
    std::string out;
    auto line = [&out](const char* key, const std::string& value) { out += format("%-16s %s\n", key, value.c_str()); };
    line("file", info.file);
    line("effect name", info.effectName);
    line("product", info.productString);
    line("vendor", info.vendorString);
    line("vendor version", std::to_string(info.vendorVersion));
    line("unique ID", fourCharacterText(info.uniqueId) + " (" + std::to_string(info.uniqueId) + ")");
    line("interface", std::to_string(info.vstVersion));
    line("category", std::to_string(info.category) + " (" + categoryName(static_cast<std::int32_t>(info.category)) + ")");
    std::string flags = format("0x%X", static_cast<unsigned>(info.flags));
    for (const std::string& name : flagNames(info.flags)) flags.append(" ").append(name);
    line("flags", flags);
    line("inputs", std::to_string(info.inputs));
    line("outputs", std::to_string(info.outputs));
    line("initial delay", std::to_string(info.initialDelay));
    line("effect version", std::to_string(info.effectVersion));
    if (info.editor) {
        const EditorRect& r = *info.editor;
        line("editor", format("%d x %d (top %d, left %d, bottom %d, right %d)", r.right - r.left, r.bottom - r.top,
                              r.top, r.left, r.bottom, r.right));
    } else {
        line("editor", (info.flags & effFlagsHasEditor) != 0 ? "announced, no size given" : "none");
    }

    out += format("programs (%zu)\n", info.programs.size());
    for (std::size_t i = 0; i < info.programs.size(); ++i) out += format("  %3zu  %s\n", i, info.programs[i].c_str());

    out += format("parameters (%zu)\n", info.parameters.size());
    if (!info.parameters.empty()) out += format("  %5s  %-16s %-8s %-16s %s\n", "index", "name", "label", "display", "value");
    for (const ParameterInfo& p : info.parameters)
        out += format("  %5d  %-16s %-8s %-16s %s\n", p.index, p.name.c_str(), p.label.c_str(), p.display.c_str(),
                      decimal(p.value).c_str());

    out += "can do\n";
    for (const CanDoAnswer& answer : info.canDo)
        out += format("  %-20s %s\n", answer.text.c_str(), canDoWord(answer.answer).c_str());
    return out;
}

std::string infoJson(const PluginInfo& info) {
    std::string out = "{\n";
    auto field = [&out](const char* key, const std::string& value, bool last = false) {
        out += format("  \"%s\": %s%s\n", key, value.c_str(), last ? "" : ",");
    };
    field("file", jsonString(info.file));
    field("effectName", jsonString(info.effectName));
    field("productString", jsonString(info.productString));
    field("vendorString", jsonString(info.vendorString));
    field("vendorVersion", std::to_string(info.vendorVersion));
    field("uniqueId", "{\"text\": " + jsonString(fourCharacterText(info.uniqueId)) +
                          ", \"number\": " + std::to_string(info.uniqueId) + "}");
    field("vstVersion", std::to_string(info.vstVersion));
    field("category", "{\"number\": " + std::to_string(info.category) + ", \"name\": " +
                          jsonString(categoryName(static_cast<std::int32_t>(info.category))) + "}");
    std::vector<std::string> quotedFlags;
    for (const std::string& name : flagNames(info.flags)) quotedFlags.push_back(jsonString(name));
    field("flags", "{\"value\": " + std::to_string(info.flags) + ", \"names\": [" + joined(quotedFlags, ", ") + "]}");
    field("inputs", std::to_string(info.inputs));
    field("outputs", std::to_string(info.outputs));
    field("initialDelay", std::to_string(info.initialDelay));
    field("effectVersion", std::to_string(info.effectVersion));

    std::vector<std::string> programs;
    for (std::size_t i = 0; i < info.programs.size(); ++i)
        programs.push_back(format("    {\"index\": %zu, \"name\": %s}", i, jsonString(info.programs[i]).c_str()));
    field("programs", programs.empty() ? "[]" : "[\n" + joined(programs, ",\n") + "\n  ]");

    std::vector<std::string> parameters;
    for (const ParameterInfo& p : info.parameters)
        parameters.push_back(format("    {\"index\": %d, \"name\": %s, \"label\": %s, \"display\": %s, \"value\": %s}",
                                    p.index, jsonString(p.name).c_str(), jsonString(p.label).c_str(),
                                    jsonString(p.display).c_str(), jsonNumber(p.value).c_str()));
    field("parameters", parameters.empty() ? "[]" : "[\n" + joined(parameters, ",\n") + "\n  ]");

    if (info.editor) {
        const EditorRect& r = *info.editor;
        field("editor", format("{\"width\": %d, \"height\": %d, \"top\": %d, \"left\": %d, \"bottom\": %d, \"right\": %d}",
                               r.right - r.left, r.bottom - r.top, r.top, r.left, r.bottom, r.right));
    } else {
        field("editor", "null");
    }

    std::vector<std::string> answers;
    for (const CanDoAnswer& answer : info.canDo)
        answers.push_back("    " + jsonString(answer.text) + ": " + std::to_string(answer.answer));
    field("canDo", "{\n" + joined(answers, ",\n") + "\n  }", true);
    return out + "}\n";
}
