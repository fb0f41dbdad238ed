#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cli {

// Renders suite cases with `voxtrial-cli suite render` processes, each with its own engine,
// since the synthesizer speaks one text at a time in a process. The cases are dealt out in
// turn; each process writes its cases' files into the folder and reports every case on a line.
class SuiteJobs {
  public:
    // Called on the calling thread as each case ends: how many have ended so far.
    using Progress = std::function<void(std::size_t done)>;

    // The processes are ended as soon as `stop` is set (by a signal handler).
    SuiteJobs(std::vector<std::string> commonArguments, int jobs, const std::atomic<bool>& stop);

    // Renders `positions` into `folder`; the positions that failed, with why.
    std::map<std::size_t, std::string> render(const std::vector<std::size_t>& positions,
                                              const std::filesystem::path& folder,
                                              const Progress& progress) const;

    // The job count to use: `requested`, or the cores this process may use.
    static int jobCount(int requested, std::size_t cases);

    // A render process: its id, its output, the line it is writing and its cases.
    struct RenderProcess;

  private:
    std::vector<std::unique_ptr<RenderProcess>> start(const std::vector<std::size_t>& positions,
                                                      const std::filesystem::path& folder) const;
    std::map<std::size_t, std::string> collect(
        const std::vector<std::unique_ptr<RenderProcess>>& processes,
        const Progress& progress) const;

    std::vector<std::string> m_arguments;
    int m_jobs;
    const std::atomic<bool>& m_stop;
};

// The line a render process writes for each case it ends.
std::string renderedLine(std::size_t position, const std::string& error);

}  // namespace cli
