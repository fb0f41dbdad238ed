#pragma once

#include <chrono>
#include <cstdint>

namespace saymgr::audio {

// Tells when a sound device that should be taking samples has stopped doing so: its position
// has not moved for `limit` while playback was not paused (a device that was unplugged, or
// whose stream no longer calls back). The waiting loops of the PortAudio sink ask it at every
// turn, so a vanished device ends the speech instead of holding it for good.
class ProgressWatch {
  public:
    using Clock = std::chrono::steady_clock;

    explicit ProgressWatch(Clock::duration limit) : m_limit(limit) {}

    // `position` is how far the device has got at `now`; true once it has stood still for the
    // limit. Time spent paused does not count.
    bool stalled(uint64_t position, bool paused, Clock::time_point now);

  private:
    Clock::duration m_limit;
    bool m_watching = false;
    uint64_t m_position = 0;
    Clock::time_point m_since{};
};

}  // namespace saymgr::audio
