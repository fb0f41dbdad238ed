#pragma once

#include <cstdint>
#include <string>

#include "synthesis/voicesettings.h"
#include "text/textbuilder.h"

namespace saymgr::pipeline {

// The two acceleration rules: a piece of text longer than a rule's length (in bytes) is
// spoken 25% faster; when both rules apply, the gains multiply. A length of 0 or less turns a
// rule off.
struct AccelerationRules {
    int32_t firstLength = 300;
    int32_t secondLength = 0;

    double rateFactor(int32_t pieceLength) const;
};

// Everything one speech needs, fixed when it starts.
struct SpeechRequest {
    std::string source;  // the caller's bytes
    bool ansi = true;
    const text::ByteTable* table = nullptr;
    std::string languageVoice;
    synthesis::VoiceSettings voice;
    AccelerationRules rules;
    text::Dictionaries dictionaries;
    int outputRate = 11025;
};

// A notification for the caller: (code, value1, value2).
struct Notification {
    int32_t code;
    int32_t value1;
    int32_t value2;
};

}  // namespace saymgr::pipeline
