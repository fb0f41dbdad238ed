#pragma once

#include <portaudio.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

#include "audio/progresswatch.h"
#include "audio/resampler.h"
#include "audio/sink.h"

namespace saymgr::audio {

// Plays the speech on the default output device through a PortAudio callback fed from a
// ring buffer. Pausing makes the callback play silence at once; interrupting drops what is
// still queued. A device that stops taking samples ends the speech with -20. When the device cannot
// run at the speech's rate, the band-limited speech is resampled once more to the device's own
// rate.
class PortAudioSink : public Sink {
  public:
    PortAudioSink() = default;
    ~PortAudioSink() override;

    int32_t open(int sampleRate) override;
    int32_t write(const int16_t* samples, std::size_t count) override;
    int32_t finish() override;
    void interrupt() override { m_interrupted = true; }
    void setPaused(bool paused) override { m_paused = paused; }
    int64_t heard() const override;

  private:
    static int onPlay(const void* input, void* output, unsigned long frames,
                      const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                      void* self);
    // Copies `count` samples into the ring as room appears; -20 when the device stops taking
    // them.
    int32_t push(const int16_t* samples, std::size_t count);
    // Waits a moment for the device to take samples; false when its stream has ended or it
    // has taken nothing for too long.
    bool waitForDevice();
    void close();

    static constexpr std::size_t kCapacity = 16384;
    // A device that takes nothing for this long while not paused is gone.
    static constexpr auto kStallLimit = std::chrono::seconds(2);

    PaStream* m_stream = nullptr;
    std::unique_ptr<Resampler> m_deviceResampler;
    std::vector<int16_t> m_converted;
    std::vector<int16_t> m_ring = std::vector<int16_t>(kCapacity);
    std::atomic<uint64_t> m_readCount{0};
    std::atomic<uint64_t> m_writeCount{0};
    std::atomic<bool> m_paused{false};
    std::atomic<bool> m_interrupted{false};
    double m_deviceRatio = 1.0;
    ProgressWatch m_watch{kStallLimit};
};

}  // namespace saymgr::audio
