#include "ParameterChanges.h"

#include "HostError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void bad(const std::string& option, const std::string& text, const std::string& why) {
    throw HostError(ExitCode::badOption, option + " " + text + ": " + why);
}

std::int32_t parseIndex(const std::string& part, const std::string& option, const std::string& text) {
    std::int32_t index = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), index);
    if (part.empty() || error != std::errc{} || end != part.data() + part.size() || index < 0)
        bad(option, text, "the parameter index must be a whole number from 0");
    return index;
}

// strtod rather than from_chars: the cross toolchains' libraries lack the
// floating-point from_chars.
double parseNumber(const std::string& part, const std::string& option, const std::string& text, const char* what) {
    char* end = nullptr;
    const double number = part.empty() ? NAN : std::strtod(part.c_str(), &end);
    if (part.empty() || end != part.c_str() + part.size() || !std::isfinite(number))
        bad(option, text, std::string(what) + " must be a number");
    return number;
}

float parseValue(const std::string& part, const std::string& option, const std::string& text) {
    const double value = parseNumber(part, option, text, "the value");
    if (value < 0.0 || value > 1.0) bad(option, text, "parameter values lie between 0 and 1");
    return static_cast<float>(value);
}

}  // namespace

ParameterSetting parseParameterSetting(const std::string& text) {
    const std::string option = "--param";
    const auto equals = text.find('=');
    if (equals == std::string::npos) bad(option, text, "expected INDEX=VALUE");
    return {parseIndex(text.substr(0, equals), option, text), parseValue(text.substr(equals + 1), option, text)};
}

AutomationPoint parseAutomationPoint(const std::string& text) {
    const std::string option = "--automate";
    const auto at = text.find('@');
    const auto equals = text.find('=');
    if (at == std::string::npos || equals == std::string::npos || equals < at)
        bad(option, text, "expected INDEX@SECONDS=VALUE");
    const std::int32_t index = parseIndex(text.substr(0, at), option, text);
    const double seconds = parseNumber(text.substr(at + 1, equals - at - 1), option, text, "the time");
    if (seconds < 0.0) bad(option, text, "the time must not be negative");
    return {index, seconds, parseValue(text.substr(equals + 1), option, text)};
}

void checkParameterIndex(std::int32_t index, std::int32_t numParams, const std::string& option) {
    if (index >= numParams)
        throw HostError(ExitCode::badOption, option + ": unknown parameter index " + std::to_string(index) +
                                                 " (the plug-in has " + std::to_string(numParams) + " parameters)");
}

std::vector<ScheduledChange> scheduleAutomation(const std::vector<AutomationPoint>& points, double sampleRate,
                                                std::int64_t frames) {
    std::vector<ScheduledChange> changes;
    for (const AutomationPoint& point : points) {
        // The nearest frame, so a time such as 0.3 s is not pushed a frame early by rounding.
        const auto frame = static_cast<std::int64_t>(std::llround(point.seconds * sampleRate));
        if (frame >= frames) {
            char text[96];
            std::snprintf(text, sizeof text, "--automate at %g s: the signal ends at %.3f s", point.seconds,
                          static_cast<double>(frames) / sampleRate);
            throw HostError(ExitCode::badOption, text);
        }
        changes.push_back({frame, point.index, point.value});
    }
    std::stable_sort(changes.begin(), changes.end(),
                     [](const ScheduledChange& a, const ScheduledChange& b) { return a.frame < b.frame; });
    return changes;
}
