#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace saymgr::audio {

// Where the resampled speech goes: a sound device, a file or nowhere. Samples are 16-bit
// mono at the rate given to open(). write() may block while the sink catches up; interrupt()
// (from any thread) makes a waiting write() or finish() return soon. A sink whose write()
// holds on to the writing thread while its position moves calls the progress listener each
// time the position has moved.
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

    void setProgressListener(std::function<void()> listener) { m_progress = std::move(listener); }

  protected:
    void reportProgress() const {
        if (m_progress) {
            m_progress();
        }
    }

  private:
    std::function<void()> m_progress;
};

}  // namespace saymgr::audio
