#include "parallel/workerprocess.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <string>

extern char** environ;

namespace saymgr::parallel {
namespace {

// A pipe whose ends are closed on exec, so that no other process the host starts keeps them.
bool makePipe(std::array<int, 2>& ends) {
    return pipe2(ends.data(), O_CLOEXEC) == 0;
}

void closeIfOpen(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

}  // namespace

WorkerProcess::~WorkerProcess() {
    closeIfOpen(m_input);
    closeIfOpen(m_output);
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

bool WorkerProcess::start(const std::string& program) {
    // The engine writes to a socket rather than a pipe, so that a worker that died makes the
    // write fail instead of raising SIGPIPE in the host.
    std::array<int, 2> toWorker{-1, -1};
    std::array<int, 2> fromWorker{-1, -1};
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, toWorker.data()) != 0) {
        return false;
    }
    if (!makePipe(fromWorker)) {
        close(toWorker[0]);
        close(toWorker[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toWorker[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromWorker[1], STDOUT_FILENO);
    const std::string parent = std::to_string(getpid());
    std::array<char*, 3> arguments{const_cast<char*>(program.c_str()),
                                   const_cast<char*>(parent.c_str()), nullptr};
    const int status =
        posix_spawn(&m_pid, program.c_str(), &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toWorker[0]);
    close(fromWorker[1]);
    m_input = toWorker[1];
    m_output = fromWorker[0];
    if (status != 0) {
        m_pid = -1;
        return false;
    }
    return fcntl(m_output, F_SETFL, O_NONBLOCK) == 0;
}

bool WorkerProcess::send(std::string_view bytes) const {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(m_input, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

std::string WorkerProcess::programBesideEngine() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&WorkerProcess::programBesideEngine), &info) == 0 ||
        info.dli_fname == nullptr) {
        return {};
    }
    std::error_code error;
    const std::filesystem::path library = std::filesystem::canonical(info.dli_fname, error);
    const std::filesystem::path program = library.parent_path() / "saymgr" / "saymgr-worker";
    return !error && access(program.c_str(), X_OK) == 0 ? program.string() : std::string();
}

}  // namespace saymgr::parallel
