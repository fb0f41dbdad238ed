#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/speechlog.h"

namespace monitor {

// One subtitle: shown from startMs until endMs (milliseconds of audio), in UTF-8.
struct Cue {
    int64_t startMs = 0;
    int64_t endMs = 0;
    std::string text;

    bool operator==(const Cue&) const = default;
};

enum class SubtitleUnit { Word, Piece };
enum class SubtitleFormat { Srt, WebVtt };

// The cues of a logged request, in order and never overlapping: each cue lasts until the next
// one starts, the last one until the end of the audio. Word cues hold the words marked at the
// same moment (eSpeak NG joins some short words to the next), so each word is in exactly one
// cue. Piece cues hold a piece's text from its first word to its last, with its punctuation;
// a piece without words has no cue.
std::vector<Cue> buildCues(const SpeechLog& log, SubtitleUnit unit);

// The cues as a SubRip (.srt) or WebVTT (.vtt) file. WebVTT text escapes '&', '<' and '>';
// SubRip has no escapes, and line breaks inside a cue become blanks in both.
std::string formatCues(const std::vector<Cue>& cues, SubtitleFormat format);

// The format a file name asks for by its extension (.srt or .vtt, in any case).
std::optional<SubtitleFormat> subtitleFormatOf(std::string_view path);

}  // namespace monitor
