// The failures a user can cause, each with its own exit status, so scripts
// can tell a typo on the command line from a library that is not a plug-in.
#pragma once

#include <stdexcept>
#include <string>

enum class ExitCode : int {
    success = 0,
    failure = 1,
    badOption = 2,
    fileError = 3,
    notAPlugin = 4,
    unsupportedPlugin = 5,
    stateRefused = 6,
};

class HostError : public std::runtime_error {
public:
    HostError(ExitCode code, const std::string& message) : std::runtime_error(message), exitCode(code) {}

    ExitCode code() const { return exitCode; }

private:
    ExitCode exitCode;
};
