#include "synthesis/voicesettings.h"

#include <array>

namespace saymgr::synthesis {

namespace {

constexpr std::array<int, 9> kWordsPerMinute{80, 100, 125, 150, 175, 210, 250, 300, 370};
constexpr std::array<const char*, 9> kVariants{"",   "m3",    "m7",    "f1",     "f2",
                                               "f4", "klatt", "croak", "whisper"};

std::size_t step(int32_t value) {
    return static_cast<std::size_t>(value < VoiceSettings::kMin   ? 0
                                    : value > VoiceSettings::kMax ? VoiceSettings::kMax - 1
                                                                  : value - 1);
}

}  // namespace

int VoiceSettings::amplitude() const {
    return 20 * static_cast<int>(step(volume) + 1);
}

int VoiceSettings::basePitch() const {
    return 10 * static_cast<int>(step(pitch) + 1);
}

int VoiceSettings::wordsPerMinute() const {
    return kWordsPerMinute[step(rate)];
}

std::string VoiceSettings::voiceName(const std::string& languageVoice) const {
    const std::string variant = kVariants[step(speaker)];
    return variant.empty() ? languageVoice : languageVoice + "+" + variant;
}

}  // namespace saymgr::synthesis
