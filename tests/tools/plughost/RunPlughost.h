// Running plughost as a user would: a separate process with its own exit
// status and output, found beside the test program with the plug-ins.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

/// Runs plughost with the arguments and waits for it.
RunResult runPlughost(const std::vector<std::string>& arguments);

/// A file of the build's bin directory, which holds the test programs, the
/// host and the plug-ins.
std::filesystem::path binFile(const std::string& name);

/// A plug-in library of the build by its target name (Name.so or Name.dll).
std::string pluginPath(const std::string& name);

/// Sets an environment variable for the processes started while it lives.
class ScopedEnvironment {
public:
    ScopedEnvironment(const std::string& name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name;
};

/// A fresh directory, removed with everything in it.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    std::string file(const std::string& name) const { return (root / name).string(); }

private:
    std::filesystem::path root;
};

/// The whole content of a file; empty when it cannot be read.
std::string readText(const std::string& path);
