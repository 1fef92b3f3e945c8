// The published names of the interface's numbers, for people reading output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// The name of a host opcode, or "opcode N" for one the interface does not name.
std::string hostOpcodeName(std::int32_t opcode);

/// The names of the flag bits that are set; unnamed bits as "bit N".
std::vector<std::string> flagNames(std::int32_t flags);

/// The name of a plug-in category, or "category N".
std::string categoryName(std::int32_t category);

/// The four bytes of a unique identifier as text, first byte most significant;
/// bytes that are not printable show as '.'.
std::string fourCharacterText(std::int32_t id);
