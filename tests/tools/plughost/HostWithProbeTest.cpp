// plughost driving the probe plug-in, which writes down everything the host
// does to it: what `info` reports, the order of a render's calls, the time
// record per block, parameters, programs, automation, state files, unusual
// channel counts and every error a user can make.
#include "JsonReader.h"
#include "ProbeLog.h"
#include "RunPlughost.h"
#include "WavFile.h"

#include "HostInterface.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

constexpr int kRate = 8000;
constexpr std::size_t kFrames = 1000;

// Samples that halve and double exactly, different in each channel.
StereoSignal testSignal() {
    StereoSignal s;
    s.sampleRate = kRate;
    s.resize(kFrames);
    for (std::size_t i = 0; i < kFrames; ++i) {
        s.left[i] = static_cast<float>(i + 1) / 1024.0f;
        s.right[i] = -static_cast<float>(i % 97) / 256.0f;
    }
    return s;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            out.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) out.push_back(line);
    return out;
}

class HostWithProbe : public ::testing::Test {
protected:
    HostWithProbe() : log("PROBE_LOG", dir.file("probe.log")) { writeFloatWav(input, testSignal()); }

    RunResult render(std::vector<std::string> options) {
        std::vector<std::string> arguments{"render", probe, "-i", input, "-o", output};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return runPlughost(arguments);
    }

    std::vector<ProbeLine> probeLog() const { return parseProbeLog(readText(dir.file("probe.log"))); }
    void clearLog() const { std::filesystem::remove(dir.file("probe.log")); }

    // Expects the output to be the test signal times one gain per channel,
    // the left gain changing to `laterLeft` from frame `from` on.
    void expectGains(float left, float right, std::size_t from = kFrames, float laterLeft = 0.0f) {
        const StereoSignal in = testSignal();
        const StereoSignal out = readFloatWav(output);
        ASSERT_EQ(out.frames(), kFrames);
        EXPECT_EQ(out.sampleRate, kRate);
        for (std::size_t i = 0; i < kFrames; ++i) {
            ASSERT_EQ(out.left[i], in.left[i] * (i < from ? left : laterLeft)) << "left frame " << i;
            ASSERT_EQ(out.right[i], in.right[i] * right) << "right frame " << i;
        }
    }

    TemporaryDirectory dir;
    ScopedEnvironment log;
    const std::string probe = pluginPath("PlughostProbe");
    const std::string input = dir.file("in.wav");
    const std::string output = dir.file("out.wav");
};

TEST_F(HostWithProbe, InfoJsonReportsTheIdentityThePluginAnswers) {
    const RunResult run = runPlughost({"info", probe, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const JsonValue info = parseJson(run.out);
    EXPECT_EQ(info["file"].text, probe);
    EXPECT_EQ(info["effectName"].text, "Plughost Probe");
    EXPECT_EQ(info["productString"].text, "Probe");
    EXPECT_EQ(info["vendorString"].text, "Velmora Tonal Works");
    EXPECT_EQ(info["vendorVersion"].number, 7);
    EXPECT_EQ(info["uniqueId"]["text"].text, "VTpb");
    EXPECT_EQ(info["uniqueId"]["number"].number, fourCharacters('V', 'T', 'p', 'b'));
    EXPECT_EQ(info["vstVersion"].number, 2400);
    EXPECT_EQ(info["category"]["number"].number, 1);
    EXPECT_EQ(info["category"]["name"].text, "effect");
    EXPECT_EQ(info["flags"]["value"].number, 0x31);
    ASSERT_EQ(info["flags"]["names"].items.size(), 3u);
    EXPECT_EQ(info["flags"]["names"][0].text, "effFlagsHasEditor");
    EXPECT_EQ(info["flags"]["names"][1].text, "effFlagsCanReplacing");
    EXPECT_EQ(info["flags"]["names"][2].text, "effFlagsProgramChunks");
    EXPECT_EQ(info["inputs"].number, 2);
    EXPECT_EQ(info["outputs"].number, 2);
    EXPECT_EQ(info["initialDelay"].number, 0);
    EXPECT_EQ(info["effectVersion"].number, 1);

    ASSERT_EQ(info["programs"].items.size(), 2u);
    EXPECT_EQ(info["programs"][0]["name"].text, "Unity");
    EXPECT_EQ(info["programs"][1]["name"].text, "Quiet");
    EXPECT_EQ(info["programs"][1]["index"].number, 1);

    const JsonValue& parameters = info["parameters"];
    ASSERT_EQ(parameters.items.size(), 2u);
    EXPECT_EQ(parameters[0]["index"].number, 0);
    EXPECT_EQ(parameters[0]["name"].text, "Gain L");
    EXPECT_EQ(parameters[0]["label"].text, "x");
    EXPECT_EQ(parameters[0]["display"].text, "1.0000");
    EXPECT_EQ(parameters[0]["value"].number, 0.5);
    EXPECT_EQ(parameters[1]["name"].text, "Gain R");
    EXPECT_EQ(parameters[1]["label"].text, "\"x\\");

    EXPECT_EQ(info["editor"]["width"].number, 300);
    EXPECT_EQ(info["editor"]["height"].number, 120);
    EXPECT_EQ(info["editor"]["bottom"].number, 120);
    EXPECT_EQ(info["canDo"]["receiveVstTimeInfo"].number, 1);
    EXPECT_EQ(info["canDo"]["bypass"].number, -1);
    EXPECT_EQ(info["canDo"]["offline"].number, 0);
    // info leaves the programs as it found them: the program name is read by index.
    for (const ProbeLine& line : linesOf(probeLog(), "dispatch")) EXPECT_NE(line.fields[0], "2") << "effSetProgram sent";
}

TEST_F(HostWithProbe, InfoTextSaysTheSameForPeople) {
    const RunResult run = runPlughost({"info", probe});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* expected : {"Plughost Probe", "Velmora Tonal Works", "VTpb (1448374370)",
                                 "0x31 effFlagsHasEditor effFlagsCanReplacing effFlagsProgramChunks",
                                 "300 x 120 (top 0, left 0, bottom 120, right 300)", "Quiet", "Gain R", "\"x\\",
                                 "1.0000", "receiveVstTimeInfo   yes", "bypass               no",
                                 "offline              don't know"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
}

TEST_F(HostWithProbe, RenderOpensProcessesAndClosesLikeAHost) {
    const RunResult run = render({"--block", "300"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");  // no progress bar when stderr is not a terminal
    expectGains(1.0f, 1.0f);

    const std::vector<ProbeLine> log = probeLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].kind, "version");
    EXPECT_EQ(log[0].fields[0], "2400");

    std::vector<std::string> calls;
    for (const ProbeLine& line : log) {
        if (line.kind == "dispatch")
            calls.push_back(line.fields[0] + "/" + line.fields[2] + "/" + line.fields[3]);  // opcode/value/opt
        else if (line.kind == "process")
            calls.push_back("process " + line.fields[0]);
    }
    const std::vector<std::string> expected = {
        "0/0/0",     // effOpen
        "10/0/8000", // effSetSampleRate, the input file's
        "11/300/0",  // effSetBlockSize
        "12/1/0",    // effMainsChanged on
        "71/0/0",    // effStartProcess
        "process 300", "process 300", "process 300", "process 100",
        "72/0/0",  // effStopProcess
        "12/0/0",  // effMainsChanged off
        "1/0/0",   // effClose
    };
    EXPECT_EQ(calls, expected);
}

TEST_F(HostWithProbe, ParametersAndProgramsReachThePluginBeforeTheFirstBlock) {
    const struct {
        std::vector<std::string> options;
        float left, right;
    } cases[] = {
        {{}, 1.0f, 1.0f},
        {{"--param", "0=0.25"}, 0.5f, 1.0f},
        {{"--param", "1=0", "--param", "0=1"}, 2.0f, 0.0f},
        {{"--param", "1=0.125", "--param", "1=0.75"}, 1.0f, 1.5f},  // the last one given wins
        {{"--program", "1"}, 0.5f, 0.5f},
        {{"--param", "0=0.5", "--program", "1"}, 1.0f, 0.5f},  // the program first, then the values
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options));
        const RunResult run = render(c.options);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        expectGains(c.left, c.right);
    }
}

TEST_F(HostWithProbe, TimeRecordFollowsTheTransportOptions) {
    const struct {
        std::vector<std::string> options;
        std::vector<double> positions;  // empty: no record at all
        double tempo;
        bool playing;
    } cases[] = {
        {{"--block", "250"}, {0, 250, 500, 750}, 120.0, true},
        {{"--block", "400", "--tempo", "90.5", "--start", "48000"}, {48000, 48400, 48800}, 90.5, true},
        {{"--block", "512", "--stopped", "--start", "1234"}, {1234, 1234}, 120.0, false},
        {{"--block", "500", "--no-time-info"}, {}, 0.0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options));
        clearLog();
        const RunResult run = render(c.options);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<ProbeLine> blocks = linesOf(probeLog(), "process");
        if (c.positions.empty()) {
            ASSERT_EQ(blocks.size(), 2u);
            for (const ProbeLine& block : blocks) EXPECT_EQ(block.fields.at(1), "none");
            continue;
        }
        ASSERT_EQ(blocks.size(), c.positions.size());
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            SCOPED_TRACE(b);
            const ProbeLine& block = blocks[b];
            ASSERT_EQ(block.fields.size(), 9u);
            const double samplePos = block.number(1);
            EXPECT_EQ(samplePos, c.positions[b]);
            EXPECT_EQ(block.number(2), kRate);
            EXPECT_EQ(block.number(3), c.tempo);
            const double quarterNotes = samplePos / kRate * c.tempo / 60.0;
            EXPECT_DOUBLE_EQ(block.number(4), quarterNotes);
            EXPECT_EQ(block.number(5), std::floor(quarterNotes / 4.0) * 4.0);
            const int flags = std::stoi(block.fields[6]);
            EXPECT_EQ((flags & kVstTransportPlaying) != 0, c.playing);
            EXPECT_NE(flags & kVstTempoValid, 0);
            EXPECT_NE(flags & kVstPpqPosValid, 0);
            EXPECT_EQ((flags & kVstTransportChanged) != 0, b == 0);
            EXPECT_EQ(block.fields[7], "4");
            EXPECT_EQ(block.fields[8], "4");
        }
    }
}

TEST_F(HostWithProbe, AutomationChangesTheOutputFromItsBlockOn) {
    const struct {
        std::vector<std::string> options;
        std::size_t from;  // the first frame with the new value: its block's start
    } cases[] = {
        {{"--automate", "0@0=0.25"}, 0},
        {{"--automate", "0@0.05=0.25"}, 400},     // frame 400 starts a block
        {{"--automate", "0@0.0626=0.25"}, 500},   // frame 501 lies in the block from 500
        {{"--automate", "0@0.1249=0.25"}, 900},   // frame 999, the last block
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options));
        clearLog();
        std::vector<std::string> options = c.options;
        options.insert(options.end(), {"--block", "100"});
        const RunResult run = render(options);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        expectGains(1.0f, 1.0f, c.from, 0.5f);

        // The change arrives between the blocks, never inside one.
        std::size_t framesBefore = 0;
        bool seen = false;
        for (const ProbeLine& line : probeLog()) {
            if (line.kind == "process" && !seen) framesBefore += std::stoul(line.fields[0]);
            if (line.kind == "set") {
                EXPECT_EQ(line.fields[0], "0");
                EXPECT_EQ(line.number(1), 0.25);
                seen = true;
            }
        }
        EXPECT_TRUE(seen);
        EXPECT_EQ(framesBefore, c.from);
    }
}

TEST_F(HostWithProbe, LaterAutomationPointsTakeOverInTurn) {
    const RunResult run = render({"--block", "100", "--automate", "0@0.1=1", "--automate", "0@0.05=0.25"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const StereoSignal in = testSignal();
    const StereoSignal out = readFloatWav(output);
    for (std::size_t i = 0; i < kFrames; ++i)
        ASSERT_EQ(out.left[i], in.left[i] * (i < 400 ? 1.0f : i < 800 ? 0.5f : 2.0f)) << i;
}

std::vector<float> floatsOf(const std::string& bytes) {
    std::vector<float> values(bytes.size() / 4);
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::uint32_t bits = 0;
        for (std::size_t b = 0; b < 4; ++b) bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[4 * i + b])) << (8 * b);
        values[i] = std::bit_cast<float>(bits);
    }
    return values;
}

TEST_F(HostWithProbe, SavedStateLoadsIntoAFreshInstanceByteForByte) {
    const struct {
        const char* shape;
        const char* kind;
        std::vector<float> saved;  // what the state file holds after --param 0=0.1 1=0.9
    } cases[] = {
        {"", "--bank", {0.1f, 0.9f, 0.25f, 0.25f}},  // the plug-in's own chunk: both programs
        {"", "--preset", {0.1f, 0.9f}},
        {"nochunks", "--bank", {0.1f, 0.9f}},  // the parameter values
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.shape) + " " + c.kind);
        ScopedEnvironment shape("PROBE_SHAPE", c.shape);
        const std::string first = dir.file("first.state"), second = dir.file("second.state");
        RunResult run = render({"--param", "0=0.1", "--param", "1=0.9", "--save-state", first, c.kind});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(floatsOf(readText(first)), c.saved);

        run = render({"--load-state", first, "--save-state", second, c.kind});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(readText(second), readText(first));
        expectGains(0.2f, 1.8f);
    }
}

TEST_F(HostWithProbe, ExtraInputsGetSilenceAndExtraOutputsAreDropped) {
    ScopedEnvironment shape("PROBE_SHAPE", "wide");
    const RunResult run = render({"--block", "64"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    expectGains(1.0f, 1.0f);
}

TEST_F(HostWithProbe, TracePrintsEveryCallThePluginMakes) {
    const RunResult run = render({"--block", "250", "--trace"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::size_t timeRequests = 0, versionRequests = 0;
    for (const std::string& line : lines(run.err)) {
        EXPECT_EQ(line.rfind("callback ", 0), 0u) << line;
        timeRequests += line.find("audioMasterGetTime") != std::string::npos;
        versionRequests += line.find("audioMasterVersion index 0 value 0") != std::string::npos &&
                           line.find("-> 2400") != std::string::npos;
    }
    EXPECT_EQ(timeRequests, 4u);     // one per block
    EXPECT_EQ(versionRequests, 2u);  // the entry point's and the probe's own
}

TEST_F(HostWithProbe, EveryUserErrorGivesOneLineAndItsExitCode) {
    const std::string text = dir.file("notes.txt");
    {
        std::FILE* file = std::fopen(text.c_str(), "wb");
        std::fputs("not a library\n", file);
        std::fclose(file);
    }
    const std::string refusedState = dir.file("short.state");
    {
        std::FILE* file = std::fopen(refusedState.c_str(), "wb");
        std::fputs("12345", file);
        std::fclose(file);
    }
    const std::string missing = dir.file("missing.wav");
    const struct {
        const char* name;
        const char* shape;
        std::vector<std::string> arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {"missing plug-in", "", {"render", dir.file("absent.so"), "-o", output}, 3, "cannot read"},
        {"missing input", "", {"render", probe, "-i", missing, "-o", output}, 3, "cannot read"},
        {"input is a directory", "", {"render", probe, "-i", dir.file(""), "-o", output}, 3, "not a regular file"},
        {"missing state", "", {"render", probe, "-o", output, "--load-state", missing}, 3, "cannot read"},
        {"no output directory", "", {"render", probe, "-o", dir.file("no/out.wav")}, 3, "cannot write"},
        {"not a library", "", {"info", text}, 4, "not a loadable library"},
        {"no entry point", "", {"info", pluginPath("NotAPlugin")}, 4, "exports neither VSTPluginMain nor main"},
        {"entry answers null", "null", {"info", probe}, 4, "the entry point answered no effect"},
        {"wrong magic", "badmagic", {"render", probe, "-o", output}, 4, "magic 0x56737451 instead of 0x56737450"},
        {"not stereo", "mono", {"render", probe, "-o", output}, 5, "not stereo-capable: it has 1 inputs and 1 outputs"},
        {"block size zero", "", {"render", probe, "-o", output, "--block", "0"}, 2, "--block"},
        {"block size text", "", {"render", probe, "-o", output, "--block", "many"}, 2, "--block"},
        {"rate too low", "", {"render", probe, "-o", output, "--rate", "10"}, 2, "--rate"},
        {"rate unlike input", "", {"render", probe, "-i", input, "-o", output, "--rate", "44100"}, 2, "does not resample"},
        {"tempo zero", "", {"render", probe, "-o", output, "--tempo", "0"}, 2, "--tempo"},
        {"negative start", "", {"render", probe, "-o", output, "--start", "-5"}, 2, "--start"},
        {"bad parameter value", "", {"render", probe, "-o", output, "--param", "0=loud"}, 2, "--param 0=loud"},
        {"unknown parameter", "", {"render", probe, "-o", output, "--param", "2=0.5"}, 2, "unknown parameter index 2"},
        {"unknown automated parameter", "", {"render", probe, "-o", output, "--automate", "9@1=0.5"}, 2,
         "unknown parameter index 9"},
        {"automation after the end", "", {"render", probe, "-i", input, "-o", output, "--automate", "0@1=0.5"}, 2,
         "the signal ends at 0.125 s"},
        {"unknown program", "", {"render", probe, "-o", output, "--program", "2"}, 2, "the plug-in has 2 programs"},
        {"bank and preset", "", {"render", probe, "-o", output, "--bank", "--preset"}, 2, "excludes"},
        {"unknown format", "", {"render", probe, "-o", output, "--format", "mp3"}, 2, "--format"},
        {"no output", "", {"render", probe}, 2, "--output is required"},
        {"unknown command", "", {"play", probe}, 2, "unknown command play"},
        {"refused chunk", "", {"render", probe, "-o", output, "--load-state", refusedState}, 6, "refused the state"},
        {"wrong size of values", "nochunks", {"render", probe, "-o", output, "--load-state", refusedState}, 6,
         "holds 5 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnvironment shape("PROBE_SHAPE", c.shape);
        const RunResult run = runPlughost(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.out, "");
        const std::vector<std::string> errorLines = lines(run.err);
        ASSERT_EQ(errorLines.size(), 1u) << run.err;
        EXPECT_EQ(errorLines[0].rfind("plughost: error: ", 0), 0u) << errorLines[0];
        EXPECT_NE(errorLines[0].find(c.message), std::string::npos) << errorLines[0];
        EXPECT_FALSE(std::filesystem::exists(output)) << "an output was written";
    }
}

}  // namespace
