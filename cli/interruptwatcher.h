#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace cli {

// Turns Ctrl+C (SIGINT) and SIGTERM into a call of `onInterrupt` on a thread of its own,
// where ordinary code may run; a second signal ends the process at once. Construct it before
// any other thread starts, so that every thread inherits the blocked signals.
class InterruptWatcher {
  public:
    explicit InterruptWatcher(std::function<void()> onInterrupt);
    ~InterruptWatcher();
    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

    bool interrupted() const { return m_interrupted.load(); }

  private:
    void watch();

    std::function<void()> m_onInterrupt;
    std::atomic<bool> m_interrupted{false};
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};

}  // namespace cli
