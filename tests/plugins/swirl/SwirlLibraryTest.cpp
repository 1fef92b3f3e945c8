// What a host sees when it loads the built plug-in library.
#include "FakeHost.h"

#include <gtest/gtest.h>

#include <bit>
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

class PluginLibrary {
public:
    PluginLibrary() {
#if defined(_WIN32)
        handle = LoadLibraryA(SWIRL_MODULE);
#else
        handle = dlopen(SWIRL_MODULE, RTLD_NOW | RTLD_LOCAL);
#endif
    }
    ~PluginLibrary() {
        if (handle == nullptr) return;
#if defined(_WIN32)
        FreeLibrary(handle);
#else
        dlclose(handle);
#endif
    }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool loaded() const { return handle != nullptr; }

    EntryPoint entry(const char* name) const {
#if defined(_WIN32)
        return reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
#else
        return reinterpret_cast<EntryPoint>(dlsym(handle, name));
#endif
    }

private:
#if defined(_WIN32)
    HMODULE handle;
#else
    void* handle;
#endif
};

std::string dispatchText(AEffect* effect, std::int32_t opcode, std::int32_t index = 0) {
    char buffer[80] = {};
    effect->dispatcher(effect, opcode, index, 0, buffer, 0.0f);
    return buffer;
}

TEST(SwirlLibrary, AHostSeesTheUmberSwirlAndItsPanel) {
    PluginLibrary library;
    ASSERT_TRUE(library.loaded()) << SWIRL_MODULE;
    const EntryPoint entry = library.entry("VSTPluginMain");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(library.entry("main"), entry);

    FakeHost host;
    AEffect* effect = entry(FakeHost::callback());
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->uniqueID, 0x56545553);
    EXPECT_EQ(effect->flags, 0x31);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(dispatchText(effect, effGetEffectName), "Umber-Swirl");
    EXPECT_EQ(dispatchText(effect, effGetProductString), "Umber-Swirl");
    EXPECT_EQ(dispatchText(effect, effGetVendorString), "Velmora Tonal Works");
    EXPECT_EQ(effect->dispatcher(effect, effGetVendorVersion, 0, 0, nullptr, 0.0f), 1000);

    ASSERT_EQ(effect->numPrograms, 8);
    for (int program = 0; program < 8; ++program)
        EXPECT_EQ(dispatchText(effect, effGetProgramNameIndexed, program), "DEFAULT");
    const char* names[] = {"F_Trans", "F_FB", "F_Level", "F_Depth", "F_Time", "D_Level", "D_Depth", "D_Time"};
    ASSERT_EQ(effect->numParams, 8);
    for (int index = 0; index < 8; ++index) {
        EXPECT_EQ(dispatchText(effect, effGetParamName, index), names[index]);
        EXPECT_EQ(dispatchText(effect, effGetParamLabel, index), "Moo");
        EXPECT_EQ(dispatchText(effect, effGetParamDisplay, index), "A few");
        EXPECT_EQ(std::bit_cast<std::uint32_t>(effect->getParameter(effect, index)), 0x3CF5C28Fu);
    }
    void* data = nullptr;
    EXPECT_EQ(effect->dispatcher(effect, effGetChunk, 0, 0, &data, 0.0f), 448);
    EXPECT_EQ(effect->dispatcher(effect, effGetChunk, 1, 0, &data, 0.0f), 32);
    ERect* rect = nullptr;
    ASSERT_EQ(effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 82);
    EXPECT_EQ(rect->right, 785);

    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
