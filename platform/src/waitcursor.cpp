#include "platform/waitcursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

WaitCursor::WaitCursor() : m_shown(qGuiApp != nullptr) {
    if (m_shown) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

WaitCursor::~WaitCursor() {
    if (m_shown) {
        QGuiApplication::restoreOverrideCursor();
    }
}

}  // namespace platform
