#include "audio/nullsink.h"

#include <algorithm>

namespace saymgr::audio {

int32_t NullSink::open(int sampleRate) {
    m_sampleRate = sampleRate;
    m_deadline = Clock::now();
    return 0;
}

int32_t NullSink::write(const int16_t* samples, std::size_t count) {
    static_cast<void>(samples);
    if (m_pace <= 0 || m_sampleRate <= 0) {
        m_heard += static_cast<int64_t>(count);
        return 0;
    }
    const auto slice = static_cast<std::size_t>(std::max(1, m_sampleRate / 50));
    for (std::size_t done = 0; done < count;) {
        const std::size_t part = std::min(slice, count - done);
        take(part);
        done += part;
    }
    return 0;
}

NullSink::Clock::duration NullSink::durationOf(std::size_t count) const {
    const std::chrono::duration<double> duration(static_cast<double>(count) /
                                                 (m_sampleRate * m_pace));
    return std::chrono::duration_cast<Clock::duration>(duration);
}

void NullSink::take(std::size_t count) {
    std::unique_lock lock(m_mutex);
    if (m_paused) {
        m_changed.wait(lock, [this] { return !m_paused || m_interrupted; });
        m_deadline = Clock::now();
    }
    if (m_interrupted) {
        return;
    }
    const auto slice = durationOf(count);
    const auto now = Clock::now();
    if (m_heard == 0 || now > m_deadline + slice) {
        m_deadline = now;
    }
    m_sliceStart = m_heard;
    m_heard += static_cast<int64_t>(count);
    m_deadline += slice;
    m_changed.wait_until(lock, m_deadline, [this] { return m_interrupted; });
}

int64_t NullSink::heard() const {
    if (m_pace <= 0 || m_sampleRate <= 0) {
        return m_heard.load();
    }
    std::lock_guard lock(m_mutex);
    const int64_t end = m_heard.load();
    const std::chrono::duration<double> left = m_deadline - Clock::now();
    const auto ahead = static_cast<int64_t>(std::max(0.0, left.count()) * m_sampleRate * m_pace);
    return std::max(m_sliceStart, end - ahead);
}

void NullSink::interrupt() {
    {
        std::lock_guard lock(m_mutex);
        m_interrupted = true;
    }
    m_changed.notify_all();
}

void NullSink::setPaused(bool paused) {
    {
        std::lock_guard lock(m_mutex);
        m_paused = paused;
    }
    m_changed.notify_all();
}

}  // namespace saymgr::audio
