#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace cli {

// What an interrupted run prints and its exit status.
inline constexpr char kStoppedMessage[] = "voxtrial-cli: stopped\n";
inline constexpr int kInterruptedExitStatus = 130;

// Turns Ctrl+C (SIGINT) and SIGTERM into a call of `onInterrupt` on a thread of its own,
// where ordinary code may run. When `onInterrupt` answers false (nothing to stop cleanly),
// or at a second signal, the process ends at once with status 130. Construct it before
// any other thread starts, so that every thread inherits the blocked signals.
class InterruptWatcher {
  public:
    explicit InterruptWatcher(std::function<bool()> onInterrupt);
    ~InterruptWatcher();
    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

    bool interrupted() const { return m_interrupted.load(); }

  private:
    void watch();

    std::function<bool()> m_onInterrupt;
    std::atomic<bool> m_interrupted{false};
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};

}  // namespace cli
