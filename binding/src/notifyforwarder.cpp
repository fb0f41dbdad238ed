#include "binding/notifyforwarder.h"

#include <utility>

namespace binding {

NotifyForwarder::NotifyForwarder(Handler handler) : m_handler(std::move(handler)) {}

int32_t NotifyForwarder::notify(int32_t, int32_t code, int32_t value1, int32_t value2) {
    NotifyForwarder* forwarder = ActiveRegistration<NotifyForwarder>::current();
    if (forwarder != nullptr && forwarder->m_handler) {
        forwarder->m_handler(code, value1, value2);
    }
    return 0;
}

}  // namespace binding
