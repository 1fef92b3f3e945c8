// The names and parameter values of all programs. The host holds pointers
// into the records (the chunks hand them out without a copy) while the audio
// thread reads the values, so the records keep their plain layout and every
// value is read and written whole through an atomic reference.
#pragma once

#include "ProgramRecord.h"

#include <atomic>
#include <cstdint>
#include <memory>

/// Reads a stored parameter value.
inline float loadParameter(float& stored) { return std::atomic_ref<float>(stored).load(std::memory_order_relaxed); }
/// Writes a stored parameter value.
inline void storeParameter(float& stored, float value) {
    std::atomic_ref<float>(stored).store(value, std::memory_order_relaxed);
}
static_assert(std::atomic_ref<float>::is_always_lock_free);

struct ProgramBank {
    /// Every record gets the default name and the default value everywhere.
    ProgramBank(std::int32_t programCount, std::int32_t parameterCount);

    /// Size of the bank chunk: every record, names included.
    std::int32_t bankChunkSize() const;
    /// Size of a program chunk: one record's values, without its name.
    std::int32_t programChunkSize() const;
    /// Replaces every record from bankChunkSize() bytes (data may be a
    /// pointer into the records themselves).
    void loadBank(const void* data);
    /// Replaces the values of one record from programChunkSize() bytes.
    void loadProgram(std::int32_t program, const void* data);

    std::int32_t numPrograms;
    std::int32_t numParams;
    /// Contiguous, in program order, never reallocated.
    std::unique_ptr<ProgramRecord[]> records;
};
