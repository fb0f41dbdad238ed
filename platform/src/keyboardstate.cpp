#include "platform/keyboardstate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

bool isControlKeyDown() {
    if (qGuiApp == nullptr) {
        return false;
    }
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

void releaseControlKey() {
    if (qApp == nullptr) {
        return;
    }
    if (QWidget* focus = QApplication::focusWidget()) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
        QCoreApplication::sendEvent(focus, &release);
    }
}

}  // namespace platform
