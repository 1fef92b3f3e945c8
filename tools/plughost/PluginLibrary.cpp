#include "PluginLibrary.h"

#include "Files.h"
#include "HostError.h"

#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

// The names under which a library exports its entry point, newest first.
constexpr const char* kEntryNames[] = {"VSTPluginMain", "main"};

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

#if defined(_WIN32)
std::string systemMessage(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length != 0 ? std::string(buffer, length) : "error " + std::to_string(code);
    LocalFree(buffer);
    return oneLine(text);
}

void* openLibrary(const std::string& path, std::string& error) {
    // Dependencies are looked up beside the plug-in, as hosts do.
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) error = systemMessage(GetLastError());
    return reinterpret_cast<void*>(module);
}

void* findSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void closeLibrary(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }
#else
void* openLibrary(const std::string& path, std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) error = oneLine(dlerror());
    return handle;
}

void* findSymbol(void* handle, const char* name) { return dlsym(handle, name); }

void closeLibrary(void* handle) { dlclose(handle); }
#endif

}  // namespace

PluginLibrary::PluginLibrary(const std::string& path) : libraryPath(path) {
    requireReadableFile(path);

    // An absolute path keeps the loader from searching its library path for a bare name.
    const std::string absolute = std::filesystem::absolute(path).string();
    std::string error;
    handle = openLibrary(absolute, error);
    if (handle == nullptr) throw HostError(ExitCode::notAPlugin, path + " is not a loadable library: " + error);

    for (const char* name : kEntryNames) {
        entry = reinterpret_cast<EntryPoint>(findSymbol(handle, name));
        if (entry != nullptr) break;
    }
    if (entry == nullptr) {
        closeLibrary(handle);
        throw HostError(ExitCode::notAPlugin, path + " is not a plug-in: it exports neither VSTPluginMain nor main");
    }
}

PluginLibrary::~PluginLibrary() { closeLibrary(handle); }

AEffect* PluginLibrary::createEffect(HostCallback callback) const {
    AEffect* effect = entry(callback);
    if (effect == nullptr) throw HostError(ExitCode::notAPlugin, libraryPath + ": the entry point answered no effect");
    return effect;
}
