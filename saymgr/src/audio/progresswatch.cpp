#include "audio/progresswatch.h"

namespace saymgr::audio {

bool ProgressWatch::stalled(uint64_t position, bool paused, Clock::time_point now) {
    if (paused || !m_watching || position != m_position) {
        m_watching = !paused;
        m_position = position;
        m_since = now;
        return false;
    }
    return now - m_since >= m_limit;
}

}  // namespace saymgr::audio
