#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "binding/engineextensions.h"
#include "envelope.h"
#include "monitor/speechlog.h"

namespace benchmonitor {

// Everything the bench monitor keeps of one speak or generate request: the logged
// notifications, the outline of its audio and, once the engine is free again, the phoneme
// transcription of its text.
struct RequestRecord {
    RequestRecord(std::string text, common::CodePage codePage) : log(std::move(text), codePage) {}

    monitor::SpeechLog log;
    Envelope envelope;
    bool ended = false;
    int32_t endStatus = 0;
    // Whether the monitor was closed before the request ended (the rest went unseen).
    bool closedEarly = false;
    // The transcription: status 1 until it was asked for, then the engine's answer.
    std::vector<binding::PhonemeWord> phonemes;
    int32_t phonemeStatus = 1;
    // Whether only the first kPhonemeTextLimit bytes of the text were transcribed.
    bool phonemesCapped = false;

    // Where the words of a text stop being transcribed.
    static constexpr std::size_t kPhonemeTextLimit = 20000;

    // The word a phoneme entry came from, in UTF-8.
    std::string wordOf(const binding::PhonemeWord& word) const {
        return common::toUtf8(log.bytes(word.start, word.length), log.codePage());
    }
};

}  // namespace benchmonitor
