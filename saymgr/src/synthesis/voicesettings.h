#pragma once

#include <cstdint>
#include <string>

namespace saymgr::synthesis {

// The caller's voice values (each 1 to 9) and what they become in eSpeak NG.
//   volume 1..9  -> amplitude 20, 40, ... 180 (100 = eSpeak's normal at 5)
//   pitch  1..9  -> base pitch 10, 20, ... 90 (50 at 5)
//   rate   1..9  -> 80, 100, 125, 150, 175, 210, 250, 300, 370 words per minute
//   speaker 1..9 -> the language's own voice, then the variants m3, m7, f1, f2, f4, klatt,
//                   croak and whisper
struct VoiceSettings {
    int32_t volume = 5;
    int32_t speaker = 1;
    int32_t rate = 5;
    int32_t pitch = 5;

    static constexpr int32_t kMin = 1;
    static constexpr int32_t kMax = 9;

    int amplitude() const;
    int basePitch() const;
    int wordsPerMinute() const;
    // The eSpeak NG voice name for `languageVoice` spoken by the current speaker.
    std::string voiceName(const std::string& languageVoice) const;
};

}  // namespace saymgr::synthesis
