#pragma once

#include <QTimer>

#include "platform/soundplayer.h"
#include "waveplayer.h"

namespace platform {

// Plays excerpts of sound files through PortAudio, giving the device back after each.
class DesktopSoundPlayer : public SoundPlayer {
  public:
    DesktopSoundPlayer();
    bool playExcerpt(const std::filesystem::path& file, int64_t firstFrame,
                     int64_t frames) override;

  private:
    WavePlayer m_player;
    QTimer m_releaseTimer;
};

}  // namespace platform
