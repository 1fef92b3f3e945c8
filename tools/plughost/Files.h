// Checks made before a file is handed to a reader, so that every reader
// reports a missing or unreadable file the same way.
#pragma once

#include <string>

/// Throws HostError when the path is not a regular file that can be opened.
void requireReadableFile(const std::string& path);

/// Throws HostError when the directory a file would be written into is missing,
/// so that a render does not run only to find nowhere to put its result.
void requireWritableLocation(const std::string& path);
