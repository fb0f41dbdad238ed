#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace saymgr::pipeline {

// A first-in first-out queue of at most `capacity` items between two threads. close() ends
// it: waiting pushes fail at once, pops drain what is left and then fail.
template <typename T>
class BoundedQueue {
  public:
    explicit BoundedQueue(std::size_t capacity) : m_capacity(capacity) {}

    bool push(T item) {
        std::unique_lock lock(m_mutex);
        m_notFull.wait(lock, [this] { return m_closed || m_items.size() < m_capacity; });
        if (m_closed) {
            return false;
        }
        m_items.push_back(std::move(item));
        m_notEmpty.notify_one();
        return true;
    }

    bool pop(T& item) {
        std::unique_lock lock(m_mutex);
        m_notEmpty.wait(lock, [this] { return m_closed || !m_items.empty(); });
        return takeFront(item);
    }

    // Takes the first item without waiting; false when there is none.
    bool tryPop(T& item) {
        std::lock_guard lock(m_mutex);
        return takeFront(item);
    }

    void close() {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_notFull.notify_all();
        m_notEmpty.notify_all();
    }

    // Closes the queue and throws away what it holds.
    void discard() {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_items.clear();
        m_notFull.notify_all();
        m_notEmpty.notify_all();
    }

  private:
    // With the lock held: moves the first item out, if there is one, and makes room.
    bool takeFront(T& item) {
        if (m_items.empty()) {
            return false;
        }
        item = std::move(m_items.front());
        m_items.pop_front();
        m_notFull.notify_one();
        return true;
    }

    std::size_t m_capacity;
    std::mutex m_mutex;
    std::condition_variable m_notFull;
    std::condition_variable m_notEmpty;
    std::deque<T> m_items;
    bool m_closed = false;
};

}  // namespace saymgr::pipeline
