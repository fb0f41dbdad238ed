#include "monitor/subtitles.h"

#include <saymgr.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace monitor {
namespace {

constexpr char kEscape = 27;

// A cue not yet timed to its end.
struct Onset {
    int64_t startMs;
    std::string text;
};

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Blanks and control characters as single spaces, none at either end.
std::string collapsed(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (!isBlank(c)) {
            out += c;
        } else if (!out.empty() && out.back() != ' ') {
            out += ' ';
        }
    }
    if (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

// The word marks of a log in the order of their place in the text, so that the words of a
// piece are found by a search instead of a pass over every event.
std::vector<const LoggedEvent*> wordsByStart(const SpeechLog& log) {
    std::vector<const LoggedEvent*> words;
    for (const LoggedEvent& event : log.events()) {
        if (event.code == SAYMGR_NOTIFY_MARK1) {
            words.push_back(&event);
        }
    }
    std::ranges::stable_sort(words, {}, &LoggedEvent::start);
    return words;
}

// The piece's text from its first word to its last with the punctuation that closes it; the
// text between two words becomes a blank where it holds an engine command.
std::string pieceText(const SpeechLog& log, const std::vector<const LoggedEvent*>& words,
                      const LoggedEvent& piece) {
    const int32_t pieceEnd = piece.start + piece.length;
    std::string bytes;
    int32_t previousEnd = -1;
    const auto first = std::ranges::lower_bound(words, piece.start, {}, &LoggedEvent::start);
    for (auto at = first; at != words.end() && (*at)->start < pieceEnd; ++at) {
        const LoggedEvent& word = **at;
        if (previousEnd >= 0) {
            const std::string_view gap = log.bytes(previousEnd, word.start - previousEnd);
            bytes += gap.find(kEscape) == gap.npos ? std::string(gap) : std::string(" ");
        }
        bytes += log.bytes(word.start, word.length);
        previousEnd = word.start + word.length;
    }
    if (previousEnd >= 0) {
        const std::string_view rest = log.bytes(previousEnd, pieceEnd - previousEnd);
        const auto closing = std::ranges::find_if(rest, [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte >= 0x80 || std::ispunct(byte) == 0;
        });
        bytes.append(rest.begin(), closing);
    }
    return collapsed(common::toUtf8(bytes, log.codePage()));
}

std::vector<Onset> onsets(const SpeechLog& log, SubtitleUnit unit) {
    const int32_t code = unit == SubtitleUnit::Word ? SAYMGR_NOTIFY_MARK1 : SAYMGR_NOTIFY_CHUNK;
    const std::vector<const LoggedEvent*> words =
        unit == SubtitleUnit::Piece ? wordsByStart(log) : std::vector<const LoggedEvent*>();
    std::vector<Onset> found;
    for (const LoggedEvent& event : log.events()) {
        const auto audioMs = log.audioMs(event);
        if (event.code != code || !audioMs) {
            continue;
        }
        const std::string text = unit == SubtitleUnit::Word ? collapsed(log.textOf(event))
                                                            : pieceText(log, words, event);
        const int64_t startMs =
            std::max<int64_t>(std::llround(*audioMs), found.empty() ? 0 : found.back().startMs);
        if (text.empty()) {
            continue;
        }
        if (!found.empty() && found.back().startMs == startMs) {
            found.back().text += ' ' + text;
        } else {
            found.push_back({startMs, text});
        }
    }
    return found;
}

std::string timestamp(int64_t ms, char fractionSeparator) {
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%03lld",
                  static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                  static_cast<long long>(ms / 1000 % 60), fractionSeparator,
                  static_cast<long long>(ms % 1000));
    return text;
}

std::string vttEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::vector<Cue> buildCues(const SpeechLog& log, SubtitleUnit unit) {
    const std::vector<Onset> found = onsets(log, unit);
    const LoggedEvent* end = log.first(SAYMGR_NOTIFY_END);
    const auto endAudio = end != nullptr ? log.audioMs(*end) : std::nullopt;
    std::vector<Cue> cues;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const int64_t startMs = found[i].startMs;
        const int64_t endMs =
            i + 1 < found.size() ? found[i + 1].startMs : std::llround(endAudio.value_or(0.0));
        cues.push_back({startMs, std::max(endMs, startMs + 1), found[i].text});
    }
    return cues;
}

std::string formatCues(const std::vector<Cue>& cues, SubtitleFormat format) {
    const bool vtt = format == SubtitleFormat::WebVtt;
    std::string out = vtt ? "WEBVTT\n\n" : "";
    for (std::size_t i = 0; i < cues.size(); ++i) {
        const Cue& cue = cues[i];
        const char separator = vtt ? '.' : ',';
        const std::string text = collapsed(cue.text);
        out += std::to_string(i + 1) + "\n" + timestamp(cue.startMs, separator) + " --> " +
               timestamp(cue.endMs, separator) + "\n" + (vtt ? vttEscaped(text) : text) + "\n\n";
    }
    return out;
}

std::optional<SubtitleFormat> subtitleFormatOf(std::string_view path) {
    const auto dot = path.rfind('.');
    if (dot == path.npos) {
        return std::nullopt;
    }
    std::string extension(path.substr(dot + 1));
    std::ranges::transform(extension, extension.begin(),
                           [](char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "srt") {
        return SubtitleFormat::Srt;
    }
    if (extension == "vtt") {
        return SubtitleFormat::WebVtt;
    }
    return std::nullopt;
}

}  // namespace monitor
