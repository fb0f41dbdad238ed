#pragma once

#include <saymgr.h>

namespace platform {

// The calling thread's handle given to the engine. dispatch() runs the Qt event loop for the
// pending events and waits up to the given time for the next one; wake() may be called from
// any thread and ends such a wait early. Must be created and dispatched on the GUI thread.
class HostThread {
public:
    HostThread();
    HostThread(const HostThread&) = delete;
    HostThread& operator=(const HostThread&) = delete;

    SaymgrHostThread* handle() { return &m_handle; }

private:
    static void dispatch(void* context, int32_t waitMs);
    static void wake(void* context);

    SaymgrHostThread m_handle;
};

}  // namespace platform
