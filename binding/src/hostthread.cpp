#include "binding/hostthread.h"

#include <chrono>

namespace binding {

HostThread::HostThread() : m_handle{this, &HostThread::dispatchEntry, &HostThread::wakeEntry} {}

void HostThread::dispatchEntry(void* context, int32_t waitMs) {
    static_cast<HostThread*>(context)->dispatch(waitMs);
}

void HostThread::wakeEntry(void* context) {
    static_cast<HostThread*>(context)->wake();
}

void HostThread::post(std::function<void()> task) {
    {
        const std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
        m_woken = true;
    }
    m_condition.notify_all();
}

void HostThread::wake() {
    {
        const std::lock_guard lock(m_mutex);
        m_woken = true;
    }
    m_condition.notify_all();
}

void HostThread::dispatch(int32_t waitMs) {
    std::unique_lock lock(m_mutex);
    if (!m_woken && m_tasks.empty() && waitMs != 0) {
        const auto ready = [this] { return m_woken || !m_tasks.empty(); };
        if (waitMs < 0) {
            m_condition.wait(lock, ready);
        } else {
            m_condition.wait_for(lock, std::chrono::milliseconds(waitMs), ready);
        }
    }
    m_woken = false;
    runPending(lock);
}

void HostThread::runPending(std::unique_lock<std::mutex>& lock) {
    while (!m_tasks.empty()) {
        std::function<void()> task = std::move(m_tasks.front());
        m_tasks.pop_front();
        lock.unlock();
        task();
        lock.lock();
    }
}

}  // namespace binding
