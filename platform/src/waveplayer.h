#pragma once

#include <portaudio.h>

#include "common/portaudiosystem.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace platform {

// Plays one short sound file (a system sound) on the default output device without blocking:
// the file is read into memory and a PortAudio callback stream plays it. A new play() cuts
// the previous sound short. Without a usable device play() fails and the caller beeps instead.
class WavePlayer {
  public:
    WavePlayer() = default;
    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;

    // False when the file cannot be read as sound or no output stream can be opened.
    bool play(const std::filesystem::path& file);
    // Plays `frames` frames of the file from `firstFrame` on.
    bool playExcerpt(const std::filesystem::path& file, int64_t firstFrame, int64_t frames);
    // Length of the sound last loaded.
    int lengthMs() const;
    // Gives the output device back once the sound has ended.
    void releaseIfFinished();

  private:
    bool load(const std::filesystem::path& file, int64_t firstFrame, int64_t maxFrames);
    bool startStream();
    void closeStream();
    static int fill(const void* input, void* output, unsigned long frames,
                    const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                    void* context);

    std::vector<float> m_samples;
    int m_channels = 0;
    int m_sampleRate = 0;
    std::atomic<std::size_t> m_position{0};
    PaStream* m_stream = nullptr;
    // Opened at the first sound, closed after the last stream.
    std::unique_ptr<common::PortAudioSystem> m_portAudio;
};

}  // namespace platform
