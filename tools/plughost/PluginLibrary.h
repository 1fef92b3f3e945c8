// A plug-in library loaded into the process and its entry point.
#pragma once

#include "HostInterface.h"

#include <string>

class PluginLibrary {
public:
    /// Loads the library and finds its entry point; throws HostError.
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();

    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    /// Calls the entry point; throws HostError when it answers no record.
    AEffect* createEffect(HostCallback callback) const;

    const std::string& path() const { return libraryPath; }

private:
    using EntryPoint = AEffect*(VT_CALLBACK*)(HostCallback);

    std::string libraryPath;
    void* handle = nullptr;
    EntryPoint entry = nullptr;
};
