#pragma once

#include <saymgr.h>

#include <cstdint>
#include <functional>

#include "binding/activeregistration.h"

namespace binding {

// Hands the engine's notifications (code, value1, value2) to a handler for as long as the
// forwarder lives. The latest forwarder is the one the callback reaches.
class NotifyForwarder {
  public:
    using Handler = std::function<void(int32_t code, int32_t value1, int32_t value2)>;

    explicit NotifyForwarder(Handler handler);

    // The function to register with EngineSetCallback.
    static EngineNotifyProc callback() { return &NotifyForwarder::notify; }

  private:
    static int32_t notify(int32_t reserved, int32_t code, int32_t value1, int32_t value2);

    Handler m_handler;
    ActiveRegistration<NotifyForwarder> m_registration{this};
};

}  // namespace binding
