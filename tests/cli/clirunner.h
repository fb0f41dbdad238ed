#pragma once

#include <signal.h>
#include <sys/resource.h>

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

// Resource limits (RLIMIT_FSIZE, RLIMIT_AS ...) a run starts with, where its standard output
// goes instead of being collected (such as /dev/full), and the signal an interrupt sends.
struct RunLimits {
    std::vector<std::pair<int, rlim_t>> limits;
    std::string standardOutput;
    int interruptSignal = SIGINT;
};

// Runs voxtrial-cli with `arguments` in `workDir`, with `environment` added to (or, for an
// empty value, removed from) the inherited environment. Sends SIGINT once `interruptWhen`
// (if given) holds. A run that takes longer than a minute is killed; one ended by a signal has
// exit status -1.
RunResult runCli(const std::vector<std::string>& arguments, const std::string& workDir,
                 const std::map<std::string, std::string>& environment = {},
                 const InterruptCondition& interruptWhen = {}, const std::string& input = {},
                 const RunLimits& limits = {});

// Holds once the CLI running in `workDir` has printed the start notification (--events).
InterruptCondition onceSpeechStarts(const std::string& workDir);

}  // namespace clitest
