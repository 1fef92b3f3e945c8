// Bounded text copies into host buffers.
#pragma once

#include <cstdint>
#include <cstring>

/// Copies at most maxLen characters, zero-fills the rest of the first maxLen
/// bytes, and writes a zero at index maxLen: the buffer must hold maxLen + 1.
inline void copyBounded(char* destination, const char* source, std::int32_t maxLen) {
    if (maxLen < 0) return;
    std::int32_t i = 0;
    for (; i < maxLen && source[i] != 0; ++i) destination[i] = source[i];
    for (; i <= maxLen; ++i) destination[i] = 0;
}

/// Appends source to the text already in destination, cut to maxLen characters.
inline void appendBounded(char* destination, const char* source, std::int32_t maxLen) {
    if (maxLen < 0) return;
    std::size_t length = std::strlen(destination);
    const auto limit = static_cast<std::size_t>(maxLen);
    while (*source != 0 && length < limit) destination[length++] = *source++;
    destination[length] = 0;
    destination[limit] = 0;
}
