#include "CommandLine.h"

#include "AudioFile.h"
#include "Commands.h"
#include "HostError.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <string>

namespace {

constexpr int kLowestRate = 1000;
constexpr int kHighestRate = 768000;
constexpr int kLargestBlock = 1 << 20;
constexpr double kSlowestTempo = 1.0;
constexpr double kFastestTempo = 999.0;

void reportError(const std::string& message) {
    std::string line = message;
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "plughost: error: %s\n", line.c_str());
}

void addFormatOption(CLI::App& command, std::string& format) {
    const std::vector<std::string> names = outputFormatNames();
    format = names.front();
    command.add_option("--format", format, "Output file format")->check(CLI::IsMember(names))->capture_default_str();
}

void addInfoCommand(CLI::App& app, InfoOptions& options) {
    CLI::App* info = app.add_subcommand("info", "Print a plug-in's identity, programs, parameters and editor size");
    info->add_option("PLUGIN", options.plugin, "Plug-in library")->required();
    info->add_flag("--json", options.json, "Print JSON");
    info->add_flag("--trace", options.trace, "Print every call the plug-in makes to the host on standard error");
}

void addRenderCommand(CLI::App& app, RenderOptions& options) {
    CLI::App* render = app.add_subcommand("render", "Process audio through a plug-in");
    render->add_option("PLUGIN", options.plugin, "Plug-in library")->required();
    render->add_option("-i,--input", options.input, "Input audio file (default: the built-in demo signal)");
    render->add_option("-o,--output", options.output, "Output audio file")->required();
    render->add_option("--rate", options.rate, "Sample rate of the demo signal in Hz (default 44100)")
        ->check(CLI::Range(kLowestRate, kHighestRate));
    render->add_option("--block", options.block, "Block size in frames")
        ->check(CLI::Range(1, kLargestBlock))
        ->capture_default_str();
    render->add_option("--param", options.parameters, "Set parameter INDEX to VALUE (0 to 1) before rendering")
        ->type_name("INDEX=VALUE");
    render->add_option("--automate", options.automation, "Set parameter INDEX to VALUE at the block containing SECONDS")
        ->type_name("INDEX@SECONDS=VALUE");
    render->add_option("--program", options.program, "Select program N first")->check(CLI::NonNegativeNumber);
    render->add_option("--tempo", options.tempo, "Tempo in beats per minute")
        ->check(CLI::Range(kSlowestTempo, kFastestTempo))
        ->capture_default_str();
    render->add_flag("--stopped", options.stopped, "Report the transport as not playing");
    render->add_option("--start", options.start, "Song position of the first frame, in samples")
        ->check(CLI::NonNegativeNumber);
    render->add_flag("--no-time-info", options.noTimeInfo, "Answer time requests with no record");
    render->add_option("--load-state", options.loadState, "Load the plug-in's state from FILE before rendering");
    render->add_option("--save-state", options.saveState, "Save the plug-in's state to FILE after rendering");
    CLI::Option* bank = render->add_flag("--bank", options.bank, "State files hold the whole bank (the default)");
    CLI::Option* preset = render->add_flag("--preset", options.preset, "State files hold the current program only");
    bank->excludes(preset);
    addFormatOption(*render, options.format);
    render->add_flag("--trace", options.trace, "Print every call the plug-in makes to the host on standard error");
}

void addDemoCommand(CLI::App& app, DemoOptions& options) {
    CLI::App* demo = app.add_subcommand("demo", "Write the built-in demo signal");
    demo->add_option("-o,--output", options.output, "Output audio file")->required();
    demo->add_option("--rate", options.rate, "Sample rate in Hz")
        ->check(CLI::Range(kLowestRate, kHighestRate))
        ->capture_default_str();
    addFormatOption(*demo, options.format);
}

}  // namespace

int runCommandLine(int argc, char** argv) {
    CLI::App app{"plughost: inspect plug-ins and render audio through them", "plughost"};
    app.require_subcommand(1);
    InfoOptions info;
    RenderOptions render;
    DemoOptions demo;
    addInfoCommand(app, info);
    addRenderCommand(app, render);
    addDemoCommand(app, demo);

    const std::string first = argc > 1 ? argv[1] : "";
    if (!first.empty() && first[0] != '-' && first != "info" && first != "render" && first != "demo") {
        reportError("unknown command " + first + " (the commands are info, render and demo)");
        return static_cast<int>(ExitCode::badOption);
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success&) {
        std::fputs(app.help().c_str(), stdout);
        return 0;
    } catch (const CLI::ParseError& error) {
        reportError(error.what());
        return static_cast<int>(ExitCode::badOption);
    }

    try {
        if (app.got_subcommand("info")) return runInfo(info);
        if (app.got_subcommand("render")) return runRender(render);
        return runDemo(demo);
    } catch (const HostError& error) {
        reportError(error.what());
        return static_cast<int>(error.code());
    } catch (const std::exception& error) {
        reportError(error.what());
        return static_cast<int>(ExitCode::failure);
    }
}
