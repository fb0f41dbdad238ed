#include "platform/qthostthread.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

namespace platform {

QtHostThread::QtHostThread() : m_handle{this, &QtHostThread::dispatch, &QtHostThread::wake} {}

void QtHostThread::dispatch(void* context, int32_t waitMs) {
    auto* self = static_cast<QtHostThread*>(context);
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher == nullptr) {
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (self->m_wakePending.exchange(false) || waitMs <= 0) {
        return;
    }
    // A wake() after the check above reaches the dispatcher, which then does not block.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    deadline.start(waitMs);
    dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    self->m_wakePending = false;
}

void QtHostThread::wake(void* context) {
    static_cast<QtHostThread*>(context)->m_wakePending = true;
    if (QAbstractEventDispatcher* dispatcher =
            QCoreApplication::instance() != nullptr
                ? QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread())
                : nullptr) {
        dispatcher->wakeUp();
    }
}

}  // namespace platform
