// What the test plug-in library and the tests that load it agree on.
#pragma once

#include "HostInterface.h"

#include <cstdint>

/// Before creating its effect the library sends the host a vendor-specific
/// call with this index and its own module handle as ptr. A host answering
/// anything but 0 makes creation fail, as if memory had run out.
constexpr std::int32_t kCreationNotice = fourCharacters('m', 'a', 'k', 'e');

/// The unique identifier of the library's effect.
constexpr std::int32_t kTestPluginId = fourCharacters('F', 'r', 'T', 's');
