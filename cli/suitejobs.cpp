#include "suitejobs.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>

#include "common/filedescriptor.h"

extern char** environ;

namespace cli {

struct SuiteJobs::RenderProcess {
    pid_t pid = -1;
    common::FileDescriptor output;
    std::string pending;  // a line not yet complete
    std::vector<std::size_t> positions;

    RenderProcess() = default;
    RenderProcess(const RenderProcess&) = delete;
    RenderProcess& operator=(const RenderProcess&) = delete;
    ~RenderProcess() {
        if (pid > 0) {
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
    }
};

namespace {

using RenderProcess = SuiteJobs::RenderProcess;

std::string joined(const std::vector<std::size_t>& positions) {
    std::string list;
    for (const std::size_t position : positions) {
        list += (list.empty() ? "" : ",") + std::to_string(position);
    }
    return list;
}

bool spawn(RenderProcess& process, std::vector<std::string> arguments) {
    std::array<int, 2> ends{-1, -1};
    if (pipe2(ends.data(), O_CLOEXEC) != 0) {
        return false;
    }
    process.output = common::FileDescriptor(ends[0]);
    const common::FileDescriptor writeEnd(ends[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO);
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const int status =
        posix_spawn(&process.pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (status != 0) {
        process.pid = -1;
    }
    return status == 0;
}

// Takes the complete lines a process has written: "ok POSITION" or "failed POSITION WHY".
void takeLines(RenderProcess& process, std::map<std::size_t, std::string>& ended) {
    std::size_t newline = 0;
    while ((newline = process.pending.find('\n')) != std::string::npos) {
        const std::string line = process.pending.substr(0, newline);
        process.pending.erase(0, newline + 1);
        const std::size_t space = line.find(' ');
        const std::size_t second = line.find(' ', space + 1);
        const std::string number = line.substr(space + 1, second - space - 1);
        const std::size_t position = std::strtoul(number.c_str(), nullptr, 10);
        ended[position] =
            line.rfind("ok ", 0) == 0 || second == std::string::npos ? "" : line.substr(second + 1);
    }
}

// Reads what a process wrote and takes its complete lines; false once its output has ended.
bool readLines(int fd, RenderProcess& process, std::map<std::size_t, std::string>& ended) {
    char buffer[4096];
    const ssize_t count = read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) {
        return true;
    }
    if (count <= 0) {
        return false;
    }
    process.pending.append(buffer, static_cast<std::size_t>(count));
    takeLines(process, ended);
    return true;
}

}  // namespace

std::string renderedLine(std::size_t position, const std::string& error) {
    return error.empty() ? "ok " + std::to_string(position) + "\n"
                         : "failed " + std::to_string(position) + " " + error + "\n";
}

SuiteJobs::SuiteJobs(std::vector<std::string> commonArguments, int jobs,
                     const std::atomic<bool>& stop)
    : m_arguments(std::move(commonArguments)), m_jobs(std::max(jobs, 1)), m_stop(stop) {}

int SuiteJobs::jobCount(int requested, std::size_t cases) {
    int jobs = requested;
    if (jobs <= 0) {
        cpu_set_t cores;
        jobs = sched_getaffinity(0, sizeof cores, &cores) == 0 ? CPU_COUNT(&cores) : 1;
    }
    return std::clamp(jobs, 1, static_cast<int>(std::max<std::size_t>(cases, 1)));
}

std::map<std::size_t, std::string> SuiteJobs::render(const std::vector<std::size_t>& positions,
                                                     const std::filesystem::path& folder,
                                                     const Progress& progress) const {
    const std::vector<std::unique_ptr<RenderProcess>> processes = start(positions, folder);
    const std::map<std::size_t, std::string> ended = collect(processes, progress);
    std::map<std::size_t, std::string> failures;
    for (const std::size_t position : positions) {
        const auto found = ended.find(position);
        if (found == ended.end()) {
            failures[position] = "the render process ended before this case";
        } else if (!found->second.empty()) {
            failures[position] = found->second;
        }
    }
    return failures;
}

// One process for every job that has cases: the job-th case and every jobs-th after it.
std::vector<std::unique_ptr<RenderProcess>> SuiteJobs::start(
    const std::vector<std::size_t>& positions, const std::filesystem::path& folder) const {
    std::vector<std::unique_ptr<RenderProcess>> processes;
    for (int job = 0; job < m_jobs; ++job) {
        auto process = std::make_unique<RenderProcess>();
        for (std::size_t i = static_cast<std::size_t>(job); i < positions.size();
             i += static_cast<std::size_t>(m_jobs)) {
            process->positions.push_back(positions[i]);
        }
        if (process->positions.empty()) {
            continue;
        }
        std::vector<std::string> arguments{"voxtrial-cli", "suite", "render"};
        arguments.insert(arguments.end(), m_arguments.begin(), m_arguments.end());
        arguments.insert(arguments.end(),
                         {"--into", folder.string(), "--cases", joined(process->positions)});
        spawn(*process, std::move(arguments));
        processes.push_back(std::move(process));
    }
    return processes;
}

// Reads the processes' lines until all have ended, or ends them when a stop is asked for.
std::map<std::size_t, std::string> SuiteJobs::collect(
    const std::vector<std::unique_ptr<RenderProcess>>& processes, const Progress& progress) const {
    std::map<std::size_t, std::string> ended;
    std::vector<pollfd> watched;
    watched.reserve(processes.size());
    for (const auto& process : processes) {
        watched.push_back({process->pid > 0 ? process->output.get() : -1, POLLIN, 0});
    }
    while (std::any_of(watched.begin(), watched.end(), [](const pollfd& f) { return f.fd >= 0; })) {
        if (m_stop) {
            for (const auto& process : processes) {
                kill(process->pid, SIGTERM);
            }
            break;
        }
        if (poll(watched.data(), watched.size(), -1) < 0 && errno != EINTR) {
            break;
        }
        for (std::size_t i = 0; i < watched.size(); ++i) {
            if (watched[i].fd >= 0 && watched[i].revents != 0 &&
                !readLines(watched[i].fd, *processes[i], ended)) {
                watched[i].fd = -1;
            }
        }
        if (progress) {
            progress(ended.size());
        }
    }
    return ended;
}

}  // namespace cli
