#pragma once

#include <QEvent>
#include <cstdint>

class QObject;

namespace platform {

// The event type that carries a command identifier (menu items, buttons, shortcuts and the
// keyboard hook all end in one dispatch by identifier).
inline constexpr int kCommandEventType = QEvent::User + 0x0111;

// A numbered message with two values, posted to or sent to a window. Private messages use their
// own numbers as the event type (0x2000-0x2013, engine messages 7000-7002); commands use
// kCommandEventType with the command identifier as wParam.
class PostedMessage : public QEvent {
  public:
    PostedMessage(int number, intptr_t wParam = 0, intptr_t lParam = 0);

    int number() const { return static_cast<int>(type()); }
    intptr_t wParam() const { return m_wParam; }
    intptr_t lParam() const { return m_lParam; }

  private:
    intptr_t m_wParam;
    intptr_t m_lParam;
};

// Queues the message for `target` (handled later by the event loop).
void postMessage(QObject* target, int number, intptr_t wParam = 0, intptr_t lParam = 0);
// Delivers the message to `target` now and returns whether it was accepted.
bool sendMessage(QObject* target, int number, intptr_t wParam = 0, intptr_t lParam = 0);
// Queues a command for `target`.
void postCommand(QObject* target, int commandId);

}  // namespace platform
