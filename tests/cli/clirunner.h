#pragma once

#include <signal.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace clitest {

// What one run of voxtrial-cli did.
struct RunResult {
    int exitStatus = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs voxtrial-cli with `arguments` in `workDir`, with `environment` added to (or, for an
// empty value, removed from) the inherited environment. When `interruptAfter` is positive,
// sends SIGINT after that time. A run that takes longer than a minute is killed.
RunResult runCli(const std::vector<std::string>& arguments, const std::string& workDir,
                 const std::map<std::string, std::string>& environment = {},
                 std::chrono::milliseconds interruptAfter = std::chrono::milliseconds(0),
                 const std::string& input = {});

}  // namespace clitest
