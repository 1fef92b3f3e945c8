// Parameter values given on the command line: set before the render
// (INDEX=VALUE) or at a time within it (INDEX@SECONDS=VALUE).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ParameterSetting {
    std::int32_t index;
    float value;
};

struct AutomationPoint {
    std::int32_t index;
    double seconds;
    float value;
};

/// Parses INDEX=VALUE; throws HostError naming the option on a bad text.
ParameterSetting parseParameterSetting(const std::string& text);

/// Parses INDEX@SECONDS=VALUE; throws HostError naming the option on a bad text.
AutomationPoint parseAutomationPoint(const std::string& text);

/// Throws HostError when an index lies outside the plug-in's parameters.
void checkParameterIndex(std::int32_t index, std::int32_t numParams, const std::string& option);

/// A parameter change at a frame of the render.
struct ScheduledChange {
    std::int64_t frame;
    std::int32_t index;
    float value;
};

/// The points as frames at the sample rate, in time order (points at the same
/// frame keep the command line's order); throws HostError for a point at or
/// beyond the end of the signal.
std::vector<ScheduledChange> scheduleAutomation(const std::vector<AutomationPoint>& points, double sampleRate,
                                                std::int64_t frames);
