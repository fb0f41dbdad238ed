#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "suite/rendering.h"

namespace suite {

// How far a new rendering may stray from its reference before the case counts as changed.
struct Tolerances {
    double durationPercent = 5;
    double onsetMs = 40;
    double spectralDb = 6;  // mean mel spectrum of a word, root mean square over the bands

    bool operator==(const Tolerances&) const = default;
};

// A word that changed: what it says, and each thing that changed about it (the IPA before and
// after, its onset before and after in ms, the spectral distance in dB; a word whose mark is
// missing on one side has no onset there).
struct WordChange {
    int32_t start = 0;
    std::string text;
    std::string ipaBefore;
    std::string ipaAfter;
    std::optional<double> onsetBefore;
    std::optional<double> onsetAfter;
    std::optional<double> spectralDb;
    bool phonemesChanged = false;
    bool onsetChanged = false;
    bool soundChanged = false;
    bool markChanged = false;  // the word's mark is on one side only

    bool operator==(const WordChange&) const = default;
};

// A waveform reduced for drawing: the smallest and largest sample of each of its columns.
struct Envelope {
    int32_t sampleRate = 0;
    int64_t samples = 0;
    std::vector<int16_t> low;
    std::vector<int16_t> high;

    bool operator==(const Envelope&) const = default;
};

// A word's place in a rendering, for drawing and playing: its start in the case's text, its
// text, where its sound begins and ends in samples, and whether it changed.
struct PlacedWord {
    int32_t start = 0;
    std::string text;
    int64_t begin = 0;
    int64_t end = 0;
    bool changed = false;

    bool operator==(const PlacedWord&) const = default;
};

// One rendering of a changed case as a report shows it.
struct ShownRendering {
    std::string audio;  // the FLAC file, when it was kept
    Envelope envelope;
    std::vector<PlacedWord> words;

    bool operator==(const ShownRendering&) const = default;
};

enum class CaseStatus { Pass, Changed, Failed };

// What a check found for one case.
struct CaseResult {
    std::size_t position = 0;  // in the suite, from 0
    std::string id;
    std::string text;  // UTF-8
    CaseStatus status = CaseStatus::Pass;
    std::string error;  // why a failed case failed
    double durationBefore = 0;
    double durationAfter = 0;
    bool durationChanged = false;
    std::vector<WordChange> words;
    std::optional<ShownRendering> before;  // both kept for a changed case
    std::optional<ShownRendering> after;

    // How much changed, to show the worst first: failures, then by the number of changed words
    // and the duration's change.
    double severity() const;

    bool operator==(const CaseResult&) const = default;
};

const char* statusName(CaseStatus status);

// Compares a case's new rendering with its reference.
CaseResult compareRenderings(const Rendering& before, const Rendering& after,
                             const Tolerances& tolerances);

// The drawing of a rendering in `columns` columns.
Envelope envelopeOf(const Rendering& rendering, std::size_t columns);

}  // namespace suite
