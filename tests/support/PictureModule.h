// A built library loaded for its pictures: the module handle under which its
// bitmaps are found, for a test program that links an editor itself and sets
// moduleInstance to it, as the library's start-up would.
#pragma once

#include <windows.h>

#include <string>

#if !defined(_WIN32)
#include <dlfcn.h>
#endif

class PictureModule {
public:
    /// file is the library's path; on Windows a bare name is found beside the test.
    explicit PictureModule(const std::string& file) {
#if defined(_WIN32)
        handle = LoadLibraryA(file.c_str());
        module = handle;
#else
        handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        Dl_info info{};
        void* entry = handle != nullptr ? dlsym(handle, "VSTPluginMain") : nullptr;
        // A library registers its pictures under its load address.
        if (entry != nullptr && dladdr(entry, &info) != 0) module = static_cast<HINSTANCE>(info.dli_fbase);
#endif
    }
    ~PictureModule() {
        if (handle == nullptr) return;
#if defined(_WIN32)
        FreeLibrary(handle);
#else
        dlclose(handle);
#endif
    }
    PictureModule(const PictureModule&) = delete;
    PictureModule& operator=(const PictureModule&) = delete;

    /// Null when the library could not be loaded.
    HINSTANCE instance() const { return module; }

private:
#if defined(_WIN32)
    HMODULE handle = nullptr;
#else
    void* handle = nullptr;
#endif
    HINSTANCE module = nullptr;
};
