#include "testsupport/recordingsoundplayer.h"

namespace testsupport {

bool RecordingSoundPlayer::playExcerpt(const std::filesystem::path& file, int64_t firstFrame,
                                       int64_t frames) {
    m_played.push_back({file, firstFrame, frames});
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

}  // namespace testsupport
