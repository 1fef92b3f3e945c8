#include "PluginState.h"

#include "Files.h"
#include "HostError.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

bool keepsChunks(const Effect& effect) { return (effect.record().flags & effFlagsProgramChunks) != 0; }

std::int32_t isPreset(StateKind kind) { return kind == StateKind::preset ? 1 : 0; }

constexpr std::size_t kValueBytes = 4;

}  // namespace

std::vector<std::uint8_t> captureState(Effect& effect, StateKind kind) {
    if (keepsChunks(effect)) {
        void* data = nullptr;
        const std::intptr_t size = effect.dispatch(effGetChunk, isPreset(kind), 0, &data);
        if (size <= 0 || data == nullptr)
            throw HostError(ExitCode::stateRefused, effect.source() + ": the plug-in gave no state");
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        return {bytes, bytes + size};
    }

    std::vector<std::uint8_t> bytes;
    for (std::int32_t index = 0; index < effect.record().numParams; ++index) {
        const auto bits = std::bit_cast<std::uint32_t>(effect.getParameter(index));
        for (std::size_t shift = 0; shift < 8 * kValueBytes; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>((bits >> shift) & 0xFF));
    }
    return bytes;
}

void restoreState(Effect& effect, StateKind kind, std::vector<std::uint8_t> bytes, const std::string& source) {
    if (keepsChunks(effect)) {
        const std::intptr_t accepted = effect.dispatch(effSetChunk, isPreset(kind),
                                                       static_cast<std::intptr_t>(bytes.size()), bytes.data());
        if (accepted == 0) throw HostError(ExitCode::stateRefused, "the plug-in refused the state in " + source);
        return;
    }

    const auto count = static_cast<std::size_t>(effect.record().numParams);
    if (bytes.size() != count * kValueBytes)
        throw HostError(ExitCode::stateRefused, source + " holds " + std::to_string(bytes.size()) +
                                                    " bytes; the plug-in's " + std::to_string(count) +
                                                    " parameter values take " + std::to_string(count * kValueBytes));
    for (std::size_t index = 0; index < count; ++index) {
        std::uint32_t bits = 0;
        for (std::size_t b = 0; b < kValueBytes; ++b)
            bits |= static_cast<std::uint32_t>(bytes[index * kValueBytes + b]) << (8 * b);
        effect.setParameter(static_cast<std::int32_t>(index), std::bit_cast<float>(bits));
    }
}

std::vector<std::uint8_t> readStateFile(const std::string& path) {
    requireReadableFile(path);
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeStateFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) throw HostError(ExitCode::fileError, "cannot write " + path + ": " + std::strerror(errno));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) throw HostError(ExitCode::fileError, "cannot write " + path + ": write failed");
}
