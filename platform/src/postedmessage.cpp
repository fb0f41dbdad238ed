#include "platform/postedmessage.h"

#include <QCoreApplication>
#include <QObject>

namespace platform {

PostedMessage::PostedMessage(int number, intptr_t wParam, intptr_t lParam)
    : QEvent(static_cast<QEvent::Type>(number)), m_wParam(wParam), m_lParam(lParam) {}

void postMessage(QObject* target, int number, intptr_t wParam, intptr_t lParam) {
    if (target != nullptr) {
        QCoreApplication::postEvent(target, new PostedMessage(number, wParam, lParam));
    }
}

bool sendMessage(QObject* target, int number, intptr_t wParam, intptr_t lParam) {
    if (target == nullptr) {
        return false;
    }
    PostedMessage message(number, wParam, lParam);
    return QCoreApplication::sendEvent(target, &message);
}

void postCommand(QObject* target, int commandId) {
    postMessage(target, kCommandEventType, commandId);
}

}  // namespace platform
