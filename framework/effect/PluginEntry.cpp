// The library's exported entry point and its start-up hook. Compiled into each
// plug-in library itself, so every library keeps its own module handle.
#include "EffectBase.h"
#include "ModuleInstance.h"
#include "PluginEntry.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#if defined(_WIN32)
#define VT_EXPORT
#else
#define VT_EXPORT __attribute__((visibility("default")))
#endif

extern "C" VT_EXPORT AEffect* VT_CALLBACK VSTPluginMain(HostCallback hostCallback) {
    if (hostCallback == nullptr) return nullptr;
    try {
        if (hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
        EffectBase* effect = createEffect(hostCallback);
        if (effect == nullptr) return nullptr;
        return effect->getEffectRecord();
    } catch (...) {
        return nullptr;
    }
}

#if defined(_WIN32)
// The second export name is given to the same function in exports.def.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
    moduleInstance = instance;
    return TRUE;
}
#else
// Hosts that look for the older name find the same function at the same address.
extern "C" VT_EXPORT AEffect* entryUnderOlderName(HostCallback) __asm__("main")
    __attribute__((alias("VSTPluginMain")));

// The library's load address identifies it among the libraries of the process.
// It runs before any other initialiser of the library, which may need it.
__attribute__((constructor(101))) static void storeModuleInstance() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&storeModuleInstance), &info) != 0) moduleInstance = info.dli_fbase;
}
#endif
