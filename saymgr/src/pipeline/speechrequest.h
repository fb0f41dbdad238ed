#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
    bool tapAudio = false;  // hand every block written to the sink to the host as well
    int jobs = 1;           // worker processes that synthesize it; 1: this process alone
};

// A notification for the caller: (code, value1, value2) and the sample position at which it
// is heard.
struct Notification {
    int32_t code;
    int32_t value1;
    int32_t value2;
    int64_t sample = 0;
};

// Samples at the synthesis rate, and the events among them with synthesis-rate positions.
struct Chunk {
    std::vector<int16_t> samples;
    std::vector<Notification> events;
};

// A block of samples as it went to the sink, with the position of its first sample.
struct AudioBlock {
    std::vector<int16_t> samples;
    int64_t position = 0;
};

}  // namespace saymgr::pipeline
