#pragma once

#include <portaudio.h>

#include <atomic>
#include <memory>
#include <vector>

#include "audio/resampler.h"
#include "audio/sink.h"

namespace saymgr::audio {

// Plays the speech on the default output device through a PortAudio callback fed from a
// ring buffer. Pausing makes the callback play silence at once; interrupting drops what is
// still queued. When the device cannot run at the speech's rate, the band-limited speech is
// resampled once more to the device's own rate.
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
    int32_t push(const int16_t* samples, std::size_t count);
    void close();

    static constexpr std::size_t kCapacity = 16384;

    PaStream* m_stream = nullptr;
    std::unique_ptr<Resampler> m_deviceResampler;
    std::vector<int16_t> m_converted;
    std::vector<int16_t> m_ring = std::vector<int16_t>(kCapacity);
    std::atomic<uint64_t> m_readCount{0};
    std::atomic<uint64_t> m_writeCount{0};
    std::atomic<bool> m_paused{false};
    std::atomic<bool> m_interrupted{false};
    double m_deviceRatio = 1.0;
};

}  // namespace saymgr::audio
