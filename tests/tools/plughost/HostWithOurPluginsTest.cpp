// plughost with our two plug-ins: what `info` reports against what each
// plug-in answers when loaded directly, Swirl passing the signal untouched
// with both levels at 0, state files, automation and the independence of the
// output from the host's block size.
#include "FakeHost.h"
#include "JsonReader.h"
#include "RunPlughost.h"
#include "WavFile.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

// The plug-in loaded into the test itself, asked through its record alone.
class DirectEffect {
public:
    explicit DirectEffect(const std::string& path) {
        using EntryPoint = AEffect*(VT_CALLBACK*)(HostCallback);
#if defined(_WIN32)
        library = LoadLibraryA(path.c_str());
        if (library != nullptr)
            effect = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(library, "VSTPluginMain")))(
                FakeHost::callback());
#else
        library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library != nullptr) effect = reinterpret_cast<EntryPoint>(dlsym(library, "VSTPluginMain"))(FakeHost::callback());
#endif
    }
    ~DirectEffect() {
        if (effect != nullptr) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
#if defined(_WIN32)
        if (library != nullptr) FreeLibrary(library);
#else
        if (library != nullptr) dlclose(library);
#endif
    }
    DirectEffect(const DirectEffect&) = delete;
    DirectEffect& operator=(const DirectEffect&) = delete;

    std::string text(std::int32_t opcode, std::int32_t index = 0) {
        char buffer[256] = {};
        effect->dispatcher(effect, opcode, index, 0, buffer, 0.0f);
        return buffer;
    }
    std::intptr_t dispatch(std::int32_t opcode, std::int32_t index = 0, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, index, 0, ptr, 0.0f);
    }

    FakeHost host;
    AEffect* effect = nullptr;

private:
#if defined(_WIN32)
    HMODULE library = nullptr;
#else
    void* library = nullptr;
#endif
};

struct OurPlugin {
    const char* target;
    const char* effectName;
    const char* uniqueId;
    // Settings under which the plug-in audibly changes the demo.
    std::vector<std::string> audible;
    // An automation of one of those settings, and a value that differs from it.
    const char* automatedIndex;
    const char* automatedValue;
};

const std::vector<OurPlugin>& ourPlugins() {
    static const std::vector<OurPlugin> plugins = {
        {"Swirl", "Umber-Swirl", "VTUS",
         {"--param", "0=0.3", "--param", "1=0.2", "--param", "2=0.5", "--param", "3=0.6", "--param", "4=0.25",
          "--param", "5=0.25", "--param", "6=0.8", "--param", "7=0.5"},
         "2", "0.9"},
        {"Warden", "Stern Warden", "VTLI", {"--param", "0=0.25", "--param", "1=0.05", "--param", "2=0.3"}, "0", "0.8"},
    };
    return plugins;
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The first frame at which two renders differ, or their length when they agree.
std::size_t firstDifference(const StereoSignal& a, const StereoSignal& b) {
    const std::size_t frames = std::min(a.frames(), b.frames());
    for (std::size_t i = 0; i < frames; ++i)
        if (std::bit_cast<std::uint32_t>(a.left[i]) != std::bit_cast<std::uint32_t>(b.left[i]) ||
            std::bit_cast<std::uint32_t>(a.right[i]) != std::bit_cast<std::uint32_t>(b.right[i]))
            return i;
    return frames;
}

class HostWithOurPlugins : public ::testing::TestWithParam<OurPlugin> {
protected:
    std::string plugin() const { return pluginPath(GetParam().target); }

    StereoSignal render(const std::string& name, const std::vector<std::string>& options) {
        const std::string output = dir.file(name);
        const RunResult run = runPlughost(joined({"render", plugin(), "-o", output}, options));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return readFloatWav(output);
    }

    TemporaryDirectory dir;
};

TEST_P(HostWithOurPlugins, InfoMatchesWhatThePluginAnswers) {
    const RunResult run = runPlughost({"info", plugin(), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const JsonValue info = parseJson(run.out);

    DirectEffect direct(plugin());
    ASSERT_NE(direct.effect, nullptr) << plugin();
    const AEffect& record = *direct.effect;
    EXPECT_EQ(info["effectName"].text, GetParam().effectName);
    EXPECT_EQ(info["effectName"].text, direct.text(effGetEffectName));
    EXPECT_EQ(info["productString"].text, direct.text(effGetProductString));
    EXPECT_EQ(info["vendorString"].text, direct.text(effGetVendorString));
    EXPECT_EQ(info["vendorString"].text, "Velmora Tonal Works");
    EXPECT_EQ(info["vendorVersion"].number, direct.dispatch(effGetVendorVersion));
    EXPECT_EQ(info["vstVersion"].number, direct.dispatch(effGetVstVersion));
    EXPECT_EQ(info["category"]["number"].number, direct.dispatch(effGetPlugCategory));
    EXPECT_EQ(info["uniqueId"]["text"].text, GetParam().uniqueId);
    EXPECT_EQ(info["uniqueId"]["number"].number, record.uniqueID);
    EXPECT_EQ(info["flags"]["value"].number, record.flags);
    EXPECT_EQ(info["inputs"].number, record.numInputs);
    EXPECT_EQ(info["outputs"].number, record.numOutputs);
    EXPECT_EQ(info["initialDelay"].number, record.initialDelay);
    EXPECT_EQ(info["effectVersion"].number, record.version);

    ASSERT_EQ(info["programs"].items.size(), static_cast<std::size_t>(record.numPrograms));
    for (std::int32_t p = 0; p < record.numPrograms; ++p)
        EXPECT_EQ(info["programs"][static_cast<std::size_t>(p)]["name"].text, direct.text(effGetProgramNameIndexed, p));

    const JsonValue& parameters = info["parameters"];
    ASSERT_EQ(parameters.items.size(), static_cast<std::size_t>(record.numParams));
    for (std::int32_t i = 0; i < record.numParams; ++i) {
        SCOPED_TRACE(i);
        const JsonValue& p = parameters[static_cast<std::size_t>(i)];
        EXPECT_EQ(p["index"].number, i);
        EXPECT_EQ(p["name"].text, direct.text(effGetParamName, i));
        EXPECT_EQ(p["label"].text, direct.text(effGetParamLabel, i));
        EXPECT_EQ(p["display"].text, direct.text(effGetParamDisplay, i));
        EXPECT_EQ(static_cast<float>(p["value"].number), direct.effect->getParameter(direct.effect, i));
    }

    ERect* rect = nullptr;
    if ((record.flags & effFlagsHasEditor) != 0) direct.dispatch(effEditGetRect, 0, &rect);
    if (rect == nullptr) {
        EXPECT_TRUE(info["editor"].isNull());
    } else {
        EXPECT_EQ(info["editor"]["width"].number, rect->right - rect->left);
        EXPECT_EQ(info["editor"]["height"].number, rect->bottom - rect->top);
    }
    for (const auto& [question, answer] : info["canDo"].fields) {
        std::string text = question;
        EXPECT_EQ(answer.number, direct.dispatch(effCanDo, 0, text.data())) << question;
    }
}

TEST_P(HostWithOurPlugins, OutputDoesNotDependOnTheBlockSize) {
    const StereoSignal reference = render("512.wav", joined({"--block", "512"}, GetParam().audible));
    ASSERT_EQ(runPlughost({"demo", "-o", dir.file("demo.wav")}).exitCode, 0);
    // The settings do change the signal, so agreement below means something.
    ASSERT_LT(firstDifference(reference, readFloatWav(dir.file("demo.wav"))), reference.frames());
    for (const char* block : {"1", "7", "64", "4096"}) {
        SCOPED_TRACE(block);
        const StereoSignal other = render(std::string(block) + ".wav", joined({"--block", block}, GetParam().audible));
        ASSERT_EQ(other.frames(), reference.frames());
        EXPECT_EQ(firstDifference(other, reference), reference.frames());
    }
}

TEST_P(HostWithOurPlugins, AutomationChangesTheOutputFromItsBlockOn) {
    const StereoSignal constant = render("constant.wav", joined({"--block", "256"}, GetParam().audible));
    // 2 s is frame 88200, inside the block from 88064.
    const std::string point = std::string(GetParam().automatedIndex) + "@2=" + GetParam().automatedValue;
    const StereoSignal automated =
        render("automated.wav", joined(joined({"--block", "256"}, GetParam().audible), {"--automate", point}));
    const std::size_t from = firstDifference(constant, automated);
    EXPECT_GE(from, 88064u);
    EXPECT_LT(from, 88064u + 256u);
    EXPECT_LT(from, constant.frames());
}

TEST_P(HostWithOurPlugins, SavedStateLoadsIntoAFreshInstanceByteForByte) {
    for (const char* kind : {"--bank", "--preset"}) {
        SCOPED_TRACE(kind);
        const std::string first = dir.file("first.state"), second = dir.file("second.state");
        const StereoSignal original =
            render("original.wav", joined({"--save-state", first, kind}, GetParam().audible));
        const StereoSignal restored = render("restored.wav", {"--load-state", first, "--save-state", second, kind});
        const std::string saved = readText(first);
        EXPECT_FALSE(saved.empty());
        EXPECT_EQ(readText(second), saved);
        // The loaded state is the one the first render ran with.
        EXPECT_EQ(firstDifference(restored, original), original.frames());
    }
}

INSTANTIATE_TEST_SUITE_P(Plugins, HostWithOurPlugins, ::testing::ValuesIn(ourPlugins()),
                         [](const auto& info) { return std::string(info.param.target); });

TEST(HostWithSwirl, BothLevelsAtZeroPassTheInputSampleForSample) {
    TemporaryDirectory dir;
    const std::string dry = dir.file("dry.wav"), wet = dir.file("wet.wav");
    ASSERT_EQ(runPlughost({"demo", "-o", dry}).exitCode, 0);
    // Every other setting far from its default, so only the levels keep the stages out.
    const RunResult run = runPlughost({"render", pluginPath("Swirl"), "-i", dry, "-o", wet, "--block", "333",
                                       "--param", "0=0.9", "--param", "1=0.9", "--param", "2=0", "--param", "3=1",
                                       "--param", "4=0", "--param", "5=0", "--param", "6=1", "--param", "7=1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const StereoSignal in = readFloatWav(dry), out = readFloatWav(wet);
    ASSERT_EQ(out.frames(), in.frames());
    EXPECT_EQ(firstDifference(out, in), in.frames());
}

}  // namespace
