// The three things plughost does, each given its options already parsed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct InfoOptions {
    std::string plugin;
    bool json = false;
    bool trace = false;
};

struct RenderOptions {
    std::string plugin;
    std::optional<std::string> input;
    std::string output;
    std::optional<int> rate;
    std::int32_t block = 512;
    std::vector<std::string> parameters;
    std::vector<std::string> automation;
    std::optional<std::int32_t> program;
    double tempo = 120.0;
    bool stopped = false;
    std::int64_t start = 0;
    bool noTimeInfo = false;
    std::optional<std::string> loadState;
    std::optional<std::string> saveState;
    bool bank = false;
    bool preset = false;
    std::string format;
    bool trace = false;
};

struct DemoOptions {
    std::string output;
    int rate = 44100;
    std::string format;
};

/// Each answers the process's exit status and throws HostError for a user's error.
int runInfo(const InfoOptions& options);
int runRender(const RenderOptions& options);
int runDemo(const DemoOptions& options);
