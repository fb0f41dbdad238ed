#include "platform/hostthread.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>

namespace platform {

HostThread::HostThread() : m_handle{this, &HostThread::dispatch, &HostThread::wake} {}

void HostThread::dispatch(void* context, int32_t waitMs) {
    auto* self = static_cast<HostThread*>(context);
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher == nullptr) {
        self->waitWithoutEventLoop(waitMs);
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

void HostThread::wake(void* context) {
    auto* self = static_cast<HostThread*>(context);
    {
        const std::lock_guard lock(self->m_mutex);
        self->m_wakePending = true;
    }
    self->m_woken.notify_all();
    if (QAbstractEventDispatcher* dispatcher =
            QCoreApplication::instance() != nullptr
                ? QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread())
                : nullptr) {
        dispatcher->wakeUp();
    }
}

void HostThread::waitWithoutEventLoop(int32_t waitMs) {
    std::unique_lock lock(m_mutex);
    m_woken.wait_for(lock, std::chrono::milliseconds(std::max(waitMs, 0)),
                     [this] { return m_wakePending.load(); });
    m_wakePending = false;
}

}  // namespace platform
