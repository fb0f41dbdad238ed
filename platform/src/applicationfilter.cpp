#include "platform/applicationfilter.h"

#include <QCoreApplication>
#include <QThread>

namespace platform {

bool installApplicationFilter(QObject& filter) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || filter.thread() != application->thread()) {
        return false;
    }
    application->installEventFilter(&filter);
    return true;
}

void removeApplicationFilter(QObject& filter) {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->removeEventFilter(&filter);
    }
}

}  // namespace platform
