// voxtrial-cli: the speech engine from a shell.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "binding/hostthread.h"
#include "binding/statustext.h"
#include "clioptions.h"
#include "clisession.h"
#include "common/pace.h"
#include "interruptwatcher.h"
#include "suitecommand.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int reportOutcome(const cli::Outcome& outcome) {
    if (outcome.interrupted) {
        std::fputs(cli::kStoppedMessage, stderr);
        return cli::kInterruptedExitStatus;
    }
    if (outcome.status == SAYMGR_OK) {
        return EXIT_SUCCESS;
    }
    const std::string message = binding::statusMessage(outcome.status);
    if (outcome.context.empty()) {
        std::fprintf(stderr, "voxtrial-cli: %s\n", message.c_str());
    } else {
        std::fprintf(stderr, "voxtrial-cli: %s (%s)\n", message.c_str(), outcome.context.c_str());
    }
    return kExitFailure;
}

// Output that could not be written is a failure, not a success (a full disk, /dev/full, a
// file-size limit).
int finishOutput(int exitStatus) {
    std::cout.flush();
    const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0 ||
                        std::fclose(stdout) != 0;
    if (!failed || exitStatus != EXIT_SUCCESS) {
        return exitStatus;
    }
    std::fprintf(stderr, "voxtrial-cli: cannot write the output: %s\n",
                 std::strerror(errno != 0 ? errno : EIO));
    return kExitFailure;
}

int run(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    const auto options = cli::parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "voxtrial-cli: %s\n\n%s", error.c_str(), cli::usageText());
        return kExitUsage;
    }
    if (options->help) {
        std::fputs(cli::usageText(), stdout);
        return EXIT_SUCCESS;
    }
    // A reader of --events that goes away early must not end a file generation half way, and a
    // file-size limit makes a write fail with its message instead of ending the program.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    if (options->nullSink) {
        setenv("SAYMGR_SINK", "null", 1);
    }
    if (const char* pace = std::getenv("SAYMGR_PACE"); pace && !common::parsePace(pace)) {
        std::fprintf(stderr,
                     "voxtrial-cli: SAYMGR_PACE takes 0 or a number from %g to %g, not '%s'\n",
                     common::kSlowestPace, common::kFastestPace, pace);
        return kExitUsage;
    }
    binding::HostThread host;
    cli::CliSession session(*options, host, start);
    cli::Outcome outcome;
    {
        const cli::InterruptWatcher watcher([&session] { return session.requestStop(); });
        outcome = session.run();
    }
    return reportOutcome(outcome);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "suite") == 0) {
        std::signal(SIGPIPE, SIG_IGN);
        return finishOutput(cli::runSuiteCommand(std::vector<std::string>(argv + 2, argv + argc)));
    }
    return finishOutput(run(argc, argv));
}
