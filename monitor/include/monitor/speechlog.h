#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/codepage.h"

namespace monitor {

// One notification as a monitor logged it: when it came (milliseconds since the command),
// what the engine said, the byte range of the text it covers (start -1: none) and where it is
// heard, when the engine told (sample -1: it did not).
struct LoggedEvent {
    double ms = 0;
    int32_t code = 0;
    int32_t value1 = 0;
    int32_t value2 = 0;
    int64_t sample = -1;
    int32_t sampleRate = 0;
    int32_t start = -1;
    int32_t length = 0;

    bool operator==(const LoggedEvent&) const = default;
};

// The name of a notification code: start, end, piece, word, mark or unknown.
const char* eventName(int32_t code);

// The record of one speak or generate request: its text, the notifications in the order they
// came and how many samples the audio tap saw. Pieces (7002) get their byte range from the
// pieces before them, as they tile the text from byte 0.
class SpeechLog {
  public:
    SpeechLog(std::string text, common::CodePage codePage);

    // Logs a notification; start and length are filled in from the code and values.
    void add(LoggedEvent event);
    // Counts a block of tapped samples.
    void addAudio(std::size_t count);

    const std::vector<LoggedEvent>& events() const { return m_events; }
    int64_t tappedSamples() const { return m_tappedSamples; }
    // The text an event covers, in UTF-8.
    std::string textOf(const LoggedEvent& event) const;
    // The source bytes [start, start + length), clamped to the text.
    std::string_view bytes(int32_t start, int32_t length) const;
    common::CodePage codePage() const { return m_codePage; }
    // When the event is heard, in milliseconds of audio: from its sample position, or else
    // from its arrival after the start notification's.
    std::optional<double> audioMs(const LoggedEvent& event) const;
    // The first event with `code`, or null.
    const LoggedEvent* first(int32_t code) const;

  private:
    std::string m_text;
    common::CodePage m_codePage;
    std::vector<LoggedEvent> m_events;
    int32_t m_nextPiece = 0;
    int64_t m_tappedSamples = 0;
};

}  // namespace monitor
