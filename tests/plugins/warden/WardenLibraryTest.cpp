// The built plug-in library, loaded as a host loads it: what the host sees
// before any audio runs.
#include "FakeHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

using EntryPoint = AEffect*(VT_CALLBACK*)(HostCallback);

class Library {
public:
#if defined(_WIN32)
    Library() : handle(LoadLibraryA(WARDEN_LIBRARY)) {}
    ~Library() {
        if (handle != nullptr) FreeLibrary(handle);
    }
    EntryPoint entry(const char* name) const {
        return reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
    }
    HMODULE handle;
#else
    Library() : handle(dlopen(WARDEN_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() {
        if (handle != nullptr) dlclose(handle);
    }
    EntryPoint entry(const char* name) const { return reinterpret_cast<EntryPoint>(dlsym(handle, name)); }
    void* handle;
#endif
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
};

std::string textOf(AEffect* record, std::int32_t opcode, std::int32_t index = 0) {
    char buffer[96];
    std::memset(buffer, 0, sizeof buffer);
    record->dispatcher(record, opcode, index, 0, buffer, 0.0f);
    return buffer;
}

TEST(WardenLibrary, ExportsOneEntryUnderBothNames) {
    Library library;
    ASSERT_NE(library.handle, nullptr) << WARDEN_LIBRARY;
    ASSERT_NE(library.entry("VSTPluginMain"), nullptr);
    EXPECT_EQ(library.entry("main"), library.entry("VSTPluginMain"));
    EXPECT_EQ(library.entry("createEffect"), nullptr);

    FakeHost refusing;
    refusing.answer(audioMasterVersion, 0);
    EXPECT_EQ(library.entry("VSTPluginMain")(FakeHost::callback()), nullptr);
}

TEST(WardenLibrary, HostSeesTheCompressorsIdentity) {
    Library library;
    ASSERT_NE(library.handle, nullptr) << WARDEN_LIBRARY;
    FakeHost host;
    AEffect* record = library.entry("VSTPluginMain")(FakeHost::callback());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->uniqueID, 0x56544C49);
    EXPECT_EQ(record->flags, 17);  // replacing, and a panel
    EXPECT_EQ(record->numPrograms, 1);
    EXPECT_EQ(record->numParams, 4);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);

    EXPECT_EQ(textOf(record, effGetEffectName), "Stern Warden");
    EXPECT_EQ(textOf(record, effGetProductString), "Stern Warden");
    EXPECT_EQ(textOf(record, effGetVendorString), "Velmora Tonal Works");
    EXPECT_EQ(record->dispatcher(record, effGetVendorVersion, 0, 0, nullptr, 0.0f), 1000);
    EXPECT_EQ(textOf(record, effGetProgramName), "Default");
    const char* names[4] = {"Thresh", "Attack", "Release", ""};
    for (std::int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(textOf(record, effGetParamName, i), names[i]);
        EXPECT_EQ(textOf(record, effGetParamLabel, i), "Moo");
        EXPECT_EQ(textOf(record, effGetParamDisplay, i), "A few");
    }
    void* chunk = nullptr;
    EXPECT_EQ(record->dispatcher(record, effGetChunk, 0, 0, &chunk, 0.0f), 16);
    EXPECT_NE(chunk, nullptr);
    ERect* rect = nullptr;
    ASSERT_EQ(record->dispatcher(record, effEditGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 82);
    EXPECT_EQ(rect->right, 416);

    float left[4] = {0.1f, 0.1f, 0.1f, 0.1f}, right[4] = {0.1f, 0.1f, 0.1f, 0.1f};
    float* buffers[2] = {left, right};
    record->processReplacing(record, buffers, buffers, 4);
    EXPECT_GT(left[3], left[0]);  // fading in from a gain of 0

    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_TRUE(host.callsOf(audioMasterAutomate).empty());
}

}  // namespace
