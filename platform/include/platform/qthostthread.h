#pragma once

#include <saymgr.h>

#include <atomic>

namespace platform {

// The calling thread's handle given to the engine. dispatch() runs the Qt event loop for the
// pending events and waits up to the given time for the next event; wake() may be called from
// any thread and ends such a wait early (a wake that comes before the wait is not lost).
// dispatch() is re-entrant: an event it handles may start another blocking engine call that
// dispatches in turn. Create and dispatch it on the GUI thread of a running Qt application;
// hosts without Qt use binding::HostThread.
class QtHostThread {
  public:
    QtHostThread();

    // The handle given to EngineOpen; the object stays where it is (it cannot be copied).
    SaymgrHostThread* handle() { return &m_handle; }

  private:
    static void dispatch(void* context, int32_t waitMs);
    static void wake(void* context);

    std::atomic<bool> m_wakePending{false};
    SaymgrHostThread m_handle;
};

}  // namespace platform
