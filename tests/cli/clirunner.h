#pragma once

#include <signal.h>

#include <functional>
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

// Asked every few milliseconds while the CLI runs; SIGINT is sent once it answers true.
using InterruptCondition = std::function<bool()>;

// Runs voxtrial-cli with `arguments` in `workDir`, with `environment` added to (or, for an
// empty value, removed from) the inherited environment. Sends SIGINT once `interruptWhen`
// (if given) holds. A run that takes longer than a minute is killed.
RunResult runCli(const std::vector<std::string>& arguments, const std::string& workDir,
                 const std::map<std::string, std::string>& environment = {},
                 const InterruptCondition& interruptWhen = {}, const std::string& input = {});

// Holds once the CLI running in `workDir` has printed the start notification (--events).
InterruptCondition onceSpeechStarts(const std::string& workDir);

}  // namespace clitest
