#include "HostSession.h"

#include <cstdio>

HostSession::HostSession(const std::string& plugin, const TransportSettings& settings, std::int32_t blockSize,
                         bool trace)
    : hostTransport(settings), callbacks(hostTransport, trace ? stderr : nullptr), library(plugin) {
    callbacks.setBlockSize(blockSize);
    openEffect = std::make_unique<Effect>(library.createEffect(HostCallbacks::callback()), plugin);
    callbacks.attach(openEffect->address());
    openEffect->dispatch(effOpen);
    openEffect->dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(settings.sampleRate));
    openEffect->dispatch(effSetBlockSize, 0, blockSize);
}
