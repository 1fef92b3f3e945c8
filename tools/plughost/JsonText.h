// Pieces of JSON text. Plug-ins hand over 8-bit texts in no stated encoding:
// valid UTF-8 passes through, any other byte is read as Latin-1.
#pragma once

#include <string>

/// The text as a quoted JSON string.
std::string jsonString(const std::string& text);

/// A number that reads back as the same float; null for NaN and infinities.
std::string jsonNumber(float value);
