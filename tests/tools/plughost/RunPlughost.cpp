#include "RunPlughost.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

#if defined(_WIN32)
constexpr const char* kPluginSuffix = ".dll";
constexpr const char* kProgramSuffix = ".exe";

std::filesystem::path ownDirectory() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

// The quoting the C runtime's argument parser undoes.
std::string quoted(const std::string& argument) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, '\\');
    return out + "\"";
}

HANDLE inheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &attributes, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

int run(const std::string& program, const std::vector<std::string>& arguments, const std::string& outPath,
        const std::string& errPath) {
    std::string commandLine = quoted(program);
    for (const std::string& argument : arguments) commandLine.append(" ").append(quoted(argument));
    HANDLE out = inheritableFile(outPath);
    HANDLE err = inheritableFile(errPath);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(out);
    CloseHandle(err);
    if (!started) throw std::runtime_error("cannot start " + program);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<int>(code);
}
#else
constexpr const char* kPluginSuffix = ".so";
constexpr const char* kProgramSuffix = "";

std::filesystem::path ownDirectory() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

int run(const std::string& program, const std::vector<std::string>& arguments, const std::string& outPath,
        const std::string& errPath) {
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("cannot fork");
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
#endif

}  // namespace

std::filesystem::path binFile(const std::string& name) { return ownDirectory() / name; }

std::string pluginPath(const std::string& name) { return binFile(name + kPluginSuffix).string(); }

RunResult runPlughost(const std::vector<std::string>& arguments) {
    TemporaryDirectory capture;
    const std::string outPath = capture.file("stdout"), errPath = capture.file("stderr");
    RunResult result;
    result.exitCode = run(binFile(std::string("plughost") + kProgramSuffix).string(), arguments, outPath, errPath);
    result.out = readText(outPath);
    result.err = readText(errPath);
    return result;
}

ScopedEnvironment::ScopedEnvironment(const std::string& variable, const std::string& value) : name(variable) {
#if defined(_WIN32)
    _putenv_s(name.c_str(), value.c_str());
#else
    setenv(name.c_str(), value.c_str(), 1);
#endif
}

ScopedEnvironment::~ScopedEnvironment() {
#if defined(_WIN32)
    _putenv_s(name.c_str(), "");
#else
    unsetenv(name.c_str());
#endif
}

TemporaryDirectory::TemporaryDirectory() {
    static std::atomic<int> counter{0};
#if defined(_WIN32)
    const auto process = static_cast<long>(GetCurrentProcessId());
#else
    const auto process = static_cast<long>(getpid());
#endif
    root = std::filesystem::temp_directory_path() /
           ("plughost-test-" + std::to_string(process) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

std::string readText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
