#include "clirunner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace clitest {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

[[noreturn]] void execChild(const std::vector<std::string>& arguments, const std::string& workDir,
                            const std::map<std::string, std::string>& environment,
                            const std::string& inputPath, const RunLimits& limits) {
    const std::string outPath =
        limits.standardOutput.empty() ? workDir + "/.stdout" : limits.standardOutput;
    const int in = open(inputPath.c_str(), O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open((workDir + "/.stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
        chdir(workDir.c_str()) != 0) {
        _exit(127);
    }
    for (const auto& [resource, value] : limits.limits) {
        const rlimit limit{value, value};
        if (setrlimit(resource, &limit) != 0) {
            _exit(127);
        }
    }
    for (const auto& [name, value] : environment) {
        if (value.empty()) {
            unsetenv(name.c_str());
        } else {
            setenv(name.c_str(), value.c_str(), 1);
        }
    }
    std::vector<char*> argv{const_cast<char*>(VOXTRIAL_CLI_PATH)};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    execv(VOXTRIAL_CLI_PATH, argv.data());
    _exit(127);
}

}  // namespace

RunResult runCli(const std::vector<std::string>& arguments, const std::string& workDir,
                 const std::map<std::string, std::string>& environment,
                 const InterruptCondition& interruptWhen, const std::string& input,
                 const RunLimits& limits) {
    const std::string inputPath = workDir + "/.stdin";
    std::ofstream(inputPath, std::ios::binary) << input;
    const pid_t child = fork();
    if (child == 0) {
        execChild(arguments, workDir, environment, inputPath, limits);
    }
    RunResult result;
    if (child < 0) {
        return result;
    }
    const auto started = std::chrono::steady_clock::now();
    bool interrupted = false;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        const auto elapsed = std::chrono::steady_clock::now() - started;
        if (!interrupted && interruptWhen && interruptWhen()) {
            kill(child, limits.interruptSignal);
            interrupted = true;
        }
        if (elapsed > std::chrono::minutes(1)) {
            kill(child, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readAll(workDir + "/.stdout");
    result.err = readAll(workDir + "/.stderr");
    return result;
}

InterruptCondition onceSpeechStarts(const std::string& workDir) {
    return
        [path = workDir + "/.stdout"] { return readAll(path).find(" 7000 ") != std::string::npos; };
}

}  // namespace clitest
