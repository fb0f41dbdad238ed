#include "binding/engineextensions.h"

namespace binding {

std::optional<AudioPosition> notifyPosition(const EngineExtensions& extensions, int32_t instance) {
    if (extensions.SaymgrGetNotifyPosition == nullptr) {
        return std::nullopt;
    }
    AudioPosition position;
    if (extensions.SaymgrGetNotifyPosition(instance, &position.sample, &position.sampleRate) !=
        SAYMGR_OK) {
        return std::nullopt;
    }
    return position;
}

int32_t textToPhonemes(const EngineExtensions& extensions, int32_t instance, std::string_view text,
                       int32_t textForm, std::vector<PhonemeWord>& words) {
    words.clear();
    if (extensions.SaymgrTextToPhonemes == nullptr) {
        return SAYMGR_EENGINE_LOADING;
    }
    if (text.size() > static_cast<std::size_t>(INT32_MAX)) {
        return SAYMGR_EMEMORY_ALLOC;
    }
    const auto receive = [](void* context, int32_t start, int32_t length, const char* ipa) {
        static_cast<std::vector<PhonemeWord>*>(context)->push_back({start, length, ipa});
    };
    return extensions.SaymgrTextToPhonemes(instance, text.data(), static_cast<int32_t>(text.size()),
                                           textForm, receive, &words);
}

}  // namespace binding
