#pragma once

#include <cstdint>
#include <filesystem>

namespace platform {

// Plays part of a sound file on the default output device without blocking; a new play cuts
// the one before short.
class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Plays `frames` frames from `firstFrame` on. False when the file cannot be read as sound
    // or there is no output device.
    virtual bool playExcerpt(const std::filesystem::path& file, int64_t firstFrame,
                             int64_t frames) = 0;
};

}  // namespace platform
