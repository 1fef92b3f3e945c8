#include "Commands.h"

#include "AudioFile.h"
#include "DemoSignal.h"
#include "Files.h"
#include "HostError.h"
#include "HostSession.h"
#include "InfoPrinter.h"
#include "ParameterChanges.h"
#include "PluginInfo.h"
#include "PluginState.h"
#include "Progress.h"
#include "Renderer.h"

#include <cstdio>

namespace {

constexpr int kDefaultSampleRate = 44100;

void requireStereo(const Effect& effect) {
    const AEffect& record = effect.record();
    if (record.numInputs < 2 || record.numOutputs < 2)
        throw HostError(ExitCode::unsupportedPlugin,
                        effect.source() + " is not stereo-capable: it has " + std::to_string(record.numInputs) +
                            " inputs and " + std::to_string(record.numOutputs) + " outputs, at least 2 of each needed");
    if ((record.flags & effFlagsCanReplacing) == 0 || record.processReplacing == nullptr)
        throw HostError(ExitCode::unsupportedPlugin, effect.source() + " does not offer processReplacing");
}

StereoSignal loadInput(const RenderOptions& options) {
    if (!options.input) return makeDemoSignal(options.rate.value_or(kDefaultSampleRate));
    StereoSignal input = readAudioFile(*options.input);
    if (options.rate && *options.rate != input.sampleRate)
        throw HostError(ExitCode::badOption, "--rate " + std::to_string(*options.rate) + " differs from the " +
                                                 std::to_string(input.sampleRate) + " Hz of " + *options.input +
                                                 " (plughost does not resample)");
    return input;
}

}  // namespace

int runInfo(const InfoOptions& options) {
    HostSession session(options.plugin, TransportSettings{}, 512, options.trace);
    const PluginInfo info = collectInfo(session.effect(), options.plugin);
    const std::string text = options.json ? infoJson(info) : infoText(info);
    std::fputs(text.c_str(), stdout);
    return 0;
}

int runRender(const RenderOptions& options) {
    // Everything that can be checked without the plug-in is checked first.
    requireWritableLocation(options.output);
    if (options.saveState) requireWritableLocation(*options.saveState);
    std::vector<ParameterSetting> settings;
    for (const std::string& text : options.parameters) settings.push_back(parseParameterSetting(text));
    std::vector<AutomationPoint> points;
    for (const std::string& text : options.automation) points.push_back(parseAutomationPoint(text));
    const StereoSignal input = loadInput(options);
    const std::vector<ScheduledChange> changes =
        scheduleAutomation(points, input.sampleRate, static_cast<std::int64_t>(input.frames()));
    std::vector<std::uint8_t> loadedState;
    if (options.loadState) loadedState = readStateFile(*options.loadState);
    const StateKind kind = options.preset ? StateKind::preset : StateKind::bank;

    TransportSettings transport;
    transport.sampleRate = input.sampleRate;
    transport.tempo = options.tempo;
    transport.playing = !options.stopped;
    transport.start = options.start;
    transport.timeInfo = !options.noTimeInfo;
    HostSession session(options.plugin, transport, options.block, options.trace);
    Effect& effect = session.effect();
    requireStereo(effect);

    const std::int32_t numParams = effect.record().numParams;
    for (const ParameterSetting& setting : settings) checkParameterIndex(setting.index, numParams, "--param");
    for (const AutomationPoint& point : points) checkParameterIndex(point.index, numParams, "--automate");
    if (options.program) {
        if (*options.program >= effect.record().numPrograms)
            throw HostError(ExitCode::badOption, "--program " + std::to_string(*options.program) +
                                                     ": the plug-in has " +
                                                     std::to_string(effect.record().numPrograms) + " programs");
        effect.dispatch(effSetProgram, 0, *options.program);
    }
    if (options.loadState) restoreState(effect, kind, std::move(loadedState), *options.loadState);
    for (const ParameterSetting& setting : settings) effect.setParameter(setting.index, setting.value);

    effect.dispatch(effMainsChanged, 0, 1);
    effect.dispatch(effStartProcess);
    Progress progress(static_cast<std::int64_t>(input.frames()), !options.trace);
    const StereoSignal output = Renderer(effect, session.transport(), options.block).render(input, changes, progress);
    effect.dispatch(effStopProcess);
    effect.dispatch(effMainsChanged, 0, 0);

    if (options.saveState) writeStateFile(*options.saveState, captureState(effect, kind));
    writeAudioFile(options.output, output, options.format);
    return 0;
}

int runDemo(const DemoOptions& options) {
    requireWritableLocation(options.output);
    writeAudioFile(options.output, makeDemoSignal(options.rate), options.format);
    return 0;
}
