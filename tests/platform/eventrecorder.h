#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "platform/postedmessage.h"

namespace testsupport {

// An object that records the numbered messages it receives and may act on each one.
class EventRecorder : public QObject {
  public:
    struct Received {
        int number;
        intptr_t wParam;
        intptr_t lParam;
    };

    bool event(QEvent* event) override {
        if (event->type() < QEvent::User) {
            return QObject::event(event);
        }
        const auto* message = static_cast<platform::PostedMessage*>(event);
        m_received.push_back({message->number(), message->wParam(), message->lParam()});
        if (onMessage) {
            onMessage(*message);
        }
        return accept;
    }

    const std::vector<Received>& received() const { return m_received; }
    std::function<void(const platform::PostedMessage&)> onMessage;
    bool accept = true;

  private:
    std::vector<Received> m_received;
};

}  // namespace testsupport
