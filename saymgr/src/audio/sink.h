#pragma once

#include <cstddef>
#include <cstdint>

namespace saymgr::audio {

// Where the resampled speech goes: a sound device, a file or nowhere. Samples are 16-bit
// mono at the rate given to open(). write() may block while the sink catches up; interrupt()
// (from any thread) makes a waiting write() or finish() return soon.
class Sink {
  public:
    virtual ~Sink() = default;

    virtual int32_t open(int sampleRate) = 0;
    virtual int32_t write(const int16_t* samples, std::size_t count) = 0;
    // Lets what was written be heard (or stored) and closes the sink.
    virtual int32_t finish() = 0;
    virtual void interrupt() = 0;
    virtual void setPaused(bool paused) { static_cast<void>(paused); }
    // How many samples have begun to be heard (or were stored) so far.
    virtual int64_t heard() const = 0;
};

}  // namespace saymgr::audio
