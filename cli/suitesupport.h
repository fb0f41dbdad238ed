#pragma once

#include <signal.h>

#include <atomic>
#include <cstddef>
#include <filesystem>

namespace cli {

// Set by Ctrl+C or a termination request while StopSignals lives: the render processes end, and
// so does the suite command, leaving the reference as it was.
const std::atomic<bool>& stopRequested();

// Catches SIGINT and SIGTERM for as long as it lives; a blocking wait they interrupt returns.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    struct sigaction m_interrupt {};
    struct sigaction m_terminate {};
};

// A new folder, removed with all it holds when it goes: in the system's temporary folder, or
// (`besides` given) a hidden one beside that path, on its file system, to be renamed onto it.
class TemporaryFolder {
  public:
    explicit TemporaryFolder(const std::filesystem::path& besides = {});
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // Empty when no folder could be made.
    const std::filesystem::path& path() const { return m_path; }
    // Keeps the folder: it is somebody else's now.
    void keep() { m_path.clear(); }

  private:
    std::filesystem::path m_path;
};

// A bar on standard error while cases are rendered, when that is a terminal.
class ProgressBar {
  public:
    ProgressBar(std::size_t total, bool wanted);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void show(std::size_t done) const;

  private:
    std::size_t m_total;
    bool m_shown;
};

}  // namespace cli
