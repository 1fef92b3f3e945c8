#include "Files.h"

#include "HostError.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

void requireReadableFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error) throw HostError(ExitCode::fileError, "cannot read " + path + ": " + error.message());
    if (!std::filesystem::is_regular_file(status))
        throw HostError(ExitCode::fileError, "cannot read " + path + ": not a regular file");
    if (!std::ifstream(path, std::ios::binary))
        throw HostError(ExitCode::fileError, "cannot read " + path + ": " + std::strerror(errno));
}

void requireWritableLocation(const std::string& path) {
    const std::filesystem::path directory = std::filesystem::absolute(path).parent_path();
    std::error_code error;
    if (!std::filesystem::is_directory(directory, error))
        throw HostError(ExitCode::fileError, "cannot write " + path + ": no directory " + directory.string());
}
