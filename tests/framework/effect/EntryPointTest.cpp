// The entry point as a host meets it: the library loaded by the system's own
// loader, the entry looked up by name, and the library's export table read.
#include "FakeHost.h"
#include "FrameTestPlugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <fstream>
#include <iterator>
#endif

namespace {

using EntryPoint = AEffect*(VT_CALLBACK*)(HostCallback);

class PluginLibrary {
public:
    PluginLibrary() {
#if defined(_WIN32)
        handle = LoadLibraryA(FRAME_TEST_PLUGIN);
#else
        handle = dlopen(FRAME_TEST_PLUGIN, RTLD_NOW | RTLD_LOCAL);
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

    /// The handle the library's start-up hook should have stored.
    void* expectedModuleInstance() const {
#if defined(_WIN32)
        return handle;
#else
        Dl_info info{};
        if (dladdr(reinterpret_cast<void*>(entry("VSTPluginMain")), &info) == 0) return nullptr;
        return info.dli_fbase;
#endif
    }

    /// Every name the library exports, sorted.
    std::vector<std::string> exportedNames() const {
        std::vector<std::string> names;
#if defined(_WIN32)
        const auto* base = reinterpret_cast<const unsigned char*>(handle);
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
        if (directory.Size == 0) return names;
        const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
        const auto* nameAddresses = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
        for (DWORD i = 0; i < exports->NumberOfNames; ++i)
            names.emplace_back(reinterpret_cast<const char*>(base + nameAddresses[i]));
#else
        // The dynamic symbol table of the file, every symbol the library defines
        // and does not keep local.
        std::ifstream file(FRAME_TEST_PLUGIN, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        ElfW(Ehdr) header;
        if (bytes.size() < sizeof header) return names;
        std::memcpy(&header, bytes.data(), sizeof header);
        if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) return names;
        auto sectionAt = [&](std::size_t i) {
            ElfW(Shdr) section;
            std::memcpy(&section, bytes.data() + header.e_shoff + i * header.e_shentsize, sizeof section);
            return section;
        };
        for (std::size_t i = 0; i < header.e_shnum; ++i) {
            const ElfW(Shdr) symbols = sectionAt(i);
            if (symbols.sh_type != SHT_DYNSYM) continue;
            const ElfW(Shdr) strings = sectionAt(symbols.sh_link);
            for (std::size_t s = 0; s < symbols.sh_size / symbols.sh_entsize; ++s) {
                ElfW(Sym) symbol;
                std::memcpy(&symbol, bytes.data() + symbols.sh_offset + s * symbols.sh_entsize, sizeof symbol);
                if (symbol.st_shndx == SHN_UNDEF || ELF64_ST_BIND(symbol.st_info) == STB_LOCAL) continue;
                names.emplace_back(bytes.data() + strings.sh_offset + symbol.st_name);
            }
        }
#endif
        std::sort(names.begin(), names.end());
        return names;
    }

private:
#if defined(_WIN32)
    HMODULE handle;
#else
    void* handle;
#endif
};

class LoadedLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.loaded()) << FRAME_TEST_PLUGIN;
        entry = library.entry("VSTPluginMain");
        ASSERT_NE(entry, nullptr);
    }
    std::vector<HostCall> creationNotices() const {
        std::vector<HostCall> notices;
        for (const HostCall& call : host.callsOf(audioMasterVendorSpecific))
            if (call.index == kCreationNotice) notices.push_back(call);
        return notices;
    }

    PluginLibrary library;
    EntryPoint entry = nullptr;
    FakeHost host;
};

TEST_F(LoadedLibrary, TheLibraryExportsOneFunctionUnderTwoNamesAndNothingElse) {
    EXPECT_EQ(library.entry("main"), entry);
    EXPECT_EQ(library.exportedNames(), (std::vector<std::string>{"VSTPluginMain", "main"}));
}

TEST_F(LoadedLibrary, AsksTheVersionThenCreatesTheLibrarysEffect) {
    AEffect* effect = entry(FakeHost::callback());
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->uniqueID, kTestPluginId);
    EXPECT_EQ(effect->numInputs, 2);

    ASSERT_GE(host.calls.size(), 2u);
    const HostCall& version = host.calls[0];
    EXPECT_EQ(version.effect, nullptr);
    EXPECT_EQ(version.opcode, audioMasterVersion);
    EXPECT_EQ(version.index, 0);
    EXPECT_EQ(version.value, 0);
    EXPECT_EQ(version.ptr, nullptr);
    EXPECT_EQ(version.opt, 0.0f);
    const std::vector<HostCall> notices = creationNotices();
    ASSERT_EQ(notices.size(), 1u);
    // The start-up hook ran before the entry and stored the library's own handle.
    EXPECT_NE(notices[0].ptr, nullptr);
    EXPECT_EQ(notices[0].ptr, library.expectedModuleInstance());

    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(LoadedLibrary, AHostAnsweringZeroToTheVersionGetsNoEffect) {
    host.answer(audioMasterVersion, 0);
    EXPECT_EQ(entry(FakeHost::callback()), nullptr);
    EXPECT_TRUE(creationNotices().empty());
    EXPECT_EQ(host.callsOf(audioMasterVersion).size(), 1u);
}

TEST_F(LoadedLibrary, ANullHostCallbackGetsNull) {
    EXPECT_EQ(entry(nullptr), nullptr);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(LoadedLibrary, AFailedCreationAnswersNull) {
    host.answer(audioMasterVendorSpecific, 1);
    EXPECT_EQ(entry(FakeHost::callback()), nullptr);
    EXPECT_EQ(creationNotices().size(), 1u);
}

TEST_F(LoadedLibrary, EachCallCreatesAnEffectOfItsOwn) {
    AEffect* first = entry(FakeHost::callback());
    AEffect* second = library.entry("main")(FakeHost::callback());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_NE(first->object, second->object);
    EXPECT_EQ(first->dispatcher(first, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(second->dispatcher(second, effIdentify, 0, 0, nullptr, 0.0f), 0x4E764566);
    EXPECT_EQ(second->dispatcher(second, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
