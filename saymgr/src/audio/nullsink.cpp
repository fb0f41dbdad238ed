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

void NullSink::take(std::size_t count) {
    Clock::time_point deadline;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_paused || m_interrupted; });
        if (m_interrupted) {
            return;
        }
        m_heard += static_cast<int64_t>(count);
        const std::chrono::duration<double> duration(static_cast<double>(count) /
                                                     (m_sampleRate * m_pace));
        m_deadline = std::max(m_deadline, Clock::now()) +
                     std::chrono::duration_cast<Clock::duration>(duration);
        deadline = m_deadline;
    }
    reportProgress();
    std::unique_lock lock(m_mutex);
    m_changed.wait_until(lock, deadline, [this] { return m_interrupted; });
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
