#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "audio/sink.h"

namespace saymgr::audio {

// A sink without a device that takes samples at `pace` times real time (0: as fast as they
// come), for machines without sound and for tests. It takes them in slices of 20 ms of sound
// on a steady clock, as a device would: a late wake-up is made up in the next slices, and
// only a writer that falls behind by more than a slice (or a pause) starts the clock afresh.
// The reported position moves on within a slice as its time passes.
class NullSink : public Sink {
  public:
    explicit NullSink(double pace) : m_pace(pace) {}

    int32_t open(int sampleRate) override;
    int32_t write(const int16_t* samples, std::size_t count) override;
    int32_t finish() override { return 0; }
    void interrupt() override;
    void setPaused(bool paused) override;
    int64_t heard() const override;

  private:
    using Clock = std::chrono::steady_clock;

    void take(std::size_t count);
    Clock::duration durationOf(std::size_t count) const;

    double m_pace;
    int m_sampleRate = 0;
    Clock::time_point m_deadline{};  // when the slice being heard ends
    std::atomic<int64_t> m_heard{0};
    int64_t m_sliceStart = 0;  // the position where the slice being heard begins
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_interrupted = false;
    bool m_paused = false;
};

}  // namespace saymgr::audio
