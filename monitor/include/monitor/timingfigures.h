#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "monitor/speechlog.h"

namespace monitor {

// The spread of the lag between word marks and their audio, in milliseconds.
struct LagFigures {
    double minMs = 0;
    double medianMs = 0;
    double maxMs = 0;
    std::size_t count = 0;

    bool operator==(const LagFigures&) const = default;
};

// The figures of one request, each missing when the log cannot tell it:
// - firstAudioMs: from the command to the start notification (the first sample is heard);
// - audioSeconds: the length of the audio, from the end notification's position;
// - realTimeFactor: the time from the command to the end over the audio length (1 when
//   speech is heard as it is made, far below 1 when a file is written);
// - wordsPerMinute: the word marks per minute of audio;
// - markLag: each word mark's arrival against the moment its audio is heard, counting the
//   audio clock from the start notification; only with positions from the engine.
struct TimingFigures {
    std::optional<double> firstAudioMs;
    std::optional<double> audioSeconds;
    std::optional<double> realTimeFactor;
    std::optional<double> wordsPerMinute;
    std::optional<LagFigures> markLag;

    bool operator==(const TimingFigures&) const = default;
};

TimingFigures measureTiming(const SpeechLog& log);

// One figure as text: its name and its value ("n/a" when missing).
struct TimingRow {
    std::string name;
    std::string value;
};

std::vector<TimingRow> timingRows(const TimingFigures& figures);

// The figures as "name: value" lines.
std::string formatTiming(const TimingFigures& figures);

}  // namespace monitor
