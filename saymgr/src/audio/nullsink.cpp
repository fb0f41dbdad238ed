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
    m_heard += static_cast<int64_t>(count);
    if (m_pace <= 0 || m_sampleRate <= 0) {
        return 0;
    }
    const std::chrono::duration<double> duration(static_cast<double>(count) /
                                                 (m_sampleRate * m_pace));
    m_deadline =
        std::max(m_deadline, Clock::now()) + std::chrono::duration_cast<Clock::duration>(duration);
    std::unique_lock lock(m_mutex);
    m_interrupted.wait_until(lock, m_deadline, [this] { return m_interrupt; });
    return 0;
}

void NullSink::interrupt() {
    {
        std::lock_guard lock(m_mutex);
        m_interrupt = true;
    }
    m_interrupted.notify_all();
}

}  // namespace saymgr::audio
