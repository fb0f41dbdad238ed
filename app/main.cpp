#include <QApplication>
#include <csignal>
#include <filesystem>
#include <string>

#include "binding/enginelibrary.h"
#include "platform/heappolicy.h"
#include "platform/profilefile.h"
#include "platform/services.h"
#include "platform/terminationrequests.h"
#include "shell/program.h"

namespace {

// The program's command line: its arguments joined by single blanks.
std::string commandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i];
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    // Taken before QApplication removes its own options (-style, -reverse, ...) from argv:
    // extended mode is for a command line that is exactly its word, with nothing else on it.
    const std::string line = commandLine(argc, argv);
    // A file-size limit makes a write fail with its message instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    platform::keepFreedMemoryForReuse();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const binding::EngineLibrary library;
    std::error_code error;
    shell::ProgramOptions options;
    options.engine = &library.ops();
    options.extensions = &library.extensions();
    options.services = platform::makeDesktopServices(std::filesystem::current_path(error).string());
    options.userProfile = platform::userProfilePath();
    shell::Program program(std::move(options));
    // A logout or `kill` ends the program as Exit does: the settings are written.
    const platform::TerminationRequests termination([&program] { program.terminate(); });
    return program.run(line);
}
