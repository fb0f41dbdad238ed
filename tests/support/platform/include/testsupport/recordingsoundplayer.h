#pragma once

#include <vector>

#include "platform/soundplayer.h"

namespace testsupport {

// One excerpt asked for: the file and the frames.
struct PlayedExcerpt {
    std::filesystem::path file;
    int64_t firstFrame = 0;
    int64_t frames = 0;

    bool operator==(const PlayedExcerpt&) const = default;
};

// Stands in for the sound device in tests: records every excerpt asked for and succeeds when
// the file exists. Plays nothing.
class RecordingSoundPlayer : public platform::SoundPlayer {
  public:
    bool playExcerpt(const std::filesystem::path& file, int64_t firstFrame,
                     int64_t frames) override;
    const std::vector<PlayedExcerpt>& played() const { return m_played; }

  private:
    std::vector<PlayedExcerpt> m_played;
};

}  // namespace testsupport
