// One plug-in loaded and opened the way a host opens it: the library, the
// host's answers, and the effect, torn down in the reverse order.
#pragma once

#include "Effect.h"
#include "HostCallbacks.h"
#include "PluginLibrary.h"
#include "Transport.h"

#include <memory>
#include <string>

class HostSession {
public:
    /// Loads the library, creates the effect, sends effOpen, the sample rate
    /// and the block size; throws HostError.
    HostSession(const std::string& plugin, const TransportSettings& settings, std::int32_t blockSize, bool trace);

    Effect& effect() { return *openEffect; }
    Transport& transport() { return hostTransport; }
    HostCallbacks& host() { return callbacks; }

private:
    Transport hostTransport;
    HostCallbacks callbacks;
    PluginLibrary library;
    std::unique_ptr<Effect> openEffect;
};
