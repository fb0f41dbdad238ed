#include "desktopsoundplayer.h"

namespace platform {
namespace {

// Time after the end of a sound before its device is closed: the device may still be draining.
constexpr int kReleaseDelayMs = 500;

}  // namespace

DesktopSoundPlayer::DesktopSoundPlayer() {
    m_releaseTimer.setSingleShot(true);
    QObject::connect(&m_releaseTimer, &QTimer::timeout, [this] { m_player.releaseIfFinished(); });
}

bool DesktopSoundPlayer::playExcerpt(const std::filesystem::path& file, int64_t firstFrame,
                                     int64_t frames) {
    if (!m_player.playExcerpt(file, firstFrame, frames)) {
        return false;
    }
    m_releaseTimer.start(m_player.lengthMs() + kReleaseDelayMs);
    return true;
}

}  // namespace platform
