#pragma once

#include <saymgr_ext.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace binding {

// The engine's optional monitoring functions, looked up by name beside the twenty
// operations. An entry is null when the engine library lacks it; the helpers below then
// answer SAYMGR_EENGINE_LOADING (-30) or nothing, and the host carries on without them.
struct EngineExtensions {
    decltype(&::SaymgrSetAudioTap) SaymgrSetAudioTap = nullptr;
    decltype(&::SaymgrGetNotifyPosition) SaymgrGetNotifyPosition = nullptr;
    decltype(&::SaymgrTextToPhonemes) SaymgrTextToPhonemes = nullptr;
    // Not needed to monitor: the number of worker processes that write a long file.
    decltype(&::SaymgrSetJobs) SaymgrSetJobs = nullptr;

    bool complete() const {
        return SaymgrSetAudioTap != nullptr && SaymgrGetNotifyPosition != nullptr &&
               SaymgrTextToPhonemes != nullptr;
    }
};

// Where a notification is heard: a sample position at a frequency in Hz.
struct AudioPosition {
    int64_t sample = 0;
    int32_t sampleRate = 0;

    double milliseconds() const { return sampleRate > 0 ? sample * 1000.0 / sampleRate : 0; }
    bool operator==(const AudioPosition&) const = default;
};

// From inside the notification callback: the position of the notification being delivered;
// nullopt when the engine cannot tell.
std::optional<AudioPosition> notifyPosition(const EngineExtensions& extensions, int32_t instance);

// One transcribed word: its byte range in the text as passed and its IPA transcription.
struct PhonemeWord {
    int32_t start = 0;
    int32_t length = 0;
    std::string ipa;

    bool operator==(const PhonemeWord&) const = default;
};

// Transcribes `text` in the engine's current language into `words`; an engine status.
int32_t textToPhonemes(const EngineExtensions& extensions, int32_t instance, std::string_view text,
                       int32_t textForm, std::vector<PhonemeWord>& words);

}  // namespace binding
