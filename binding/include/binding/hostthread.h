#pragma once

#include <saymgr.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace binding {

// The thread that runs the engine's blocking operations. The engine waits in dispatch();
// other threads hand work to it with post() and wake it with wake().
class HostThread {
  public:
    HostThread();
    HostThread(const HostThread&) = delete;
    HostThread& operator=(const HostThread&) = delete;

    // The handle given to EngineOpen; valid as long as this object.
    SaymgrHostThread* handle() { return &m_handle; }

    // Runs `task` on the host thread at its next dispatch. Callable from any thread.
    void post(std::function<void()> task);

    // Runs the posted tasks, waiting up to `waitMs` (negative: without limit) for a wake-up
    // or a task when there is none.
    void dispatch(int32_t waitMs);
    void wake();

  private:
    static void dispatchEntry(void* context, int32_t waitMs);
    static void wakeEntry(void* context);
    void runPending(std::unique_lock<std::mutex>& lock);

    SaymgrHostThread m_handle;
    std::mutex m_mutex;
    std::condition_variable m_condition;
    std::deque<std::function<void()>> m_tasks;
    bool m_woken = false;
};

}  // namespace binding
