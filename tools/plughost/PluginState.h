// A plug-in's state as bytes in a file. A plug-in that keeps its state in
// chunks hands over its own bytes, untouched; for any other plug-in the state
// is its parameter values, each a little-endian 32-bit float, index 0 first.
#pragma once

#include "Effect.h"

#include <cstdint>
#include <string>
#include <vector>

enum class StateKind { bank, preset };

/// The effect's state now; throws HostError when it gives none.
std::vector<std::uint8_t> captureState(Effect& effect, StateKind kind);

/// Hands the state to the effect; throws HostError when it refuses it.
void restoreState(Effect& effect, StateKind kind, std::vector<std::uint8_t> bytes, const std::string& source);

/// Reads a whole file; throws HostError.
std::vector<std::uint8_t> readStateFile(const std::string& path);

/// Writes a whole file; throws HostError.
void writeStateFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
