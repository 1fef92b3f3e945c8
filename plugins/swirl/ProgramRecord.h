// One program as it is stored in the bank and, byte for byte, in the bank
// chunk the host saves: the name, then the eight parameter values.
#pragma once

#include "SwirlIdentity.h"

#include <bit>
#include <cstddef>
#include <limits>

struct ProgramRecord {
    /// Zero-padded; a name of exactly 24 characters has no terminator here.
    char name[swirl::programNameLength];
    /// Parameter 0 first, each a little-endian IEEE-754 single.
    float params[swirl::parameterCount];
};

static_assert(sizeof(ProgramRecord) == 56);
static_assert(offsetof(ProgramRecord, name) == 0);
static_assert(offsetof(ProgramRecord, params) == 24);
static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4);
static_assert(std::endian::native == std::endian::little);
