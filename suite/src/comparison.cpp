#include "suite/comparison.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <span>

#include "melbands.h"

namespace suite {
namespace {

constexpr std::size_t kEnvelopeColumns = 800;

double onsetMs(const Rendering& rendering, const WordRecord& word) {
    return rendering.sampleRate > 0
               ? static_cast<double>(word.sample) * 1000.0 / rendering.sampleRate
               : 0;
}

// The samples of word `index`: from its mark to the next word's mark, or to the end.
std::span<const int16_t> wordSound(const Rendering& rendering, std::size_t index) {
    const auto size = static_cast<int64_t>(rendering.samples.size());
    const int64_t begin = std::clamp<int64_t>(rendering.words[index].sample, 0, size);
    const int64_t end = index + 1 < rendering.words.size()
                            ? std::clamp<int64_t>(rendering.words[index + 1].sample, begin, size)
                            : size;
    return std::span<const int16_t>(rendering.samples)
        .subspan(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

// Where each word of a rendering is, by its start in the text.
std::map<int32_t, std::size_t> wordsByStart(const Rendering& rendering) {
    std::map<int32_t, std::size_t> positions;
    for (std::size_t i = 0; i < rendering.words.size(); ++i) {
        positions.emplace(rendering.words[i].start, i);
    }
    return positions;
}

// Compares the word both renderings have at the same place in the text.
// The mel bands of both sides of a comparison.
struct BandPair {
    MelBands before;
    MelBands after;
};

std::optional<WordChange> compareWord(const Rendering& before, std::size_t first,
                                      const Rendering& after, std::size_t second,
                                      const Tolerances& tolerances, const BandPair& bands) {
    const WordRecord& old = before.words[first];
    const WordRecord& now = after.words[second];
    WordChange change;
    change.start = old.start;
    change.text = old.text;
    change.ipaBefore = old.ipa;
    change.ipaAfter = now.ipa;
    change.onsetBefore = onsetMs(before, old);
    change.onsetAfter = onsetMs(after, now);
    change.phonemesChanged = old.ipa != now.ipa;
    change.onsetChanged = std::abs(*change.onsetAfter - *change.onsetBefore) > tolerances.onsetMs;
    const std::span<const int16_t> oldSound = wordSound(before, first);
    const std::span<const int16_t> newSound = wordSound(after, second);
    const bool same =
        before.sampleRate == after.sampleRate &&
        std::equal(oldSound.begin(), oldSound.end(), newSound.begin(), newSound.end());
    change.spectralDb =
        same ? 0.0 : spectralDistance(bands.before.frames(oldSound), bands.after.frames(newSound));
    change.soundChanged = *change.spectralDb > tolerances.spectralDb;
    if (!change.phonemesChanged && !change.onsetChanged && !change.soundChanged) {
        return std::nullopt;
    }
    return change;
}

WordChange markOnOneSide(const WordRecord& word, const Rendering& rendering, bool before) {
    WordChange change;
    change.start = word.start;
    change.text = word.text;
    (before ? change.ipaBefore : change.ipaAfter) = word.ipa;
    (before ? change.onsetBefore : change.onsetAfter) = onsetMs(rendering, word);
    change.markChanged = true;
    return change;
}

std::vector<WordChange> compareWords(const Rendering& before, const Rendering& after,
                                     const Tolerances& tolerances) {
    std::vector<WordChange> changes;
    const std::map<int32_t, std::size_t> oldWords = wordsByStart(before);
    const std::map<int32_t, std::size_t> newWords = wordsByStart(after);
    const BandPair bands{MelBands(before.sampleRate), MelBands(after.sampleRate)};
    for (const auto& [start, index] : oldWords) {
        const auto found = newWords.find(start);
        if (found == newWords.end()) {
            changes.push_back(markOnOneSide(before.words[index], before, true));
        } else if (auto change =
                       compareWord(before, index, after, found->second, tolerances, bands)) {
            changes.push_back(std::move(*change));
        }
    }
    for (const auto& [start, index] : newWords) {
        if (oldWords.count(start) == 0) {
            changes.push_back(markOnOneSide(after.words[index], after, false));
        }
    }
    std::sort(changes.begin(), changes.end(),
              [](const WordChange& a, const WordChange& b) { return a.start < b.start; });
    return changes;
}

ShownRendering shown(const Rendering& rendering, const std::vector<WordChange>& changes) {
    ShownRendering result{{}, envelopeOf(rendering, kEnvelopeColumns), {}};
    for (std::size_t i = 0; i < rendering.words.size(); ++i) {
        const std::span<const int16_t> sound = wordSound(rendering, i);
        const int64_t begin = sound.data() - rendering.samples.data();
        const bool changed = std::any_of(changes.begin(), changes.end(), [&](const auto& change) {
            return change.start == rendering.words[i].start;
        });
        result.words.push_back({rendering.words[i].start, rendering.words[i].text, begin,
                                begin + static_cast<int64_t>(sound.size()), changed});
    }
    return result;
}

}  // namespace

const char* statusName(CaseStatus status) {
    switch (status) {
        case CaseStatus::Pass:
            return "pass";
        case CaseStatus::Changed:
            return "changed";
        case CaseStatus::Failed:
            return "failed";
    }
    return "failed";
}

double CaseResult::severity() const {
    if (status == CaseStatus::Failed) {
        return 1e9;
    }
    const double duration =
        durationBefore > 0 ? std::abs(durationAfter - durationBefore) / durationBefore : 0;
    return static_cast<double>(words.size()) + duration * 100;
}

CaseResult compareRenderings(const Rendering& before, const Rendering& after,
                             const Tolerances& tolerances) {
    CaseResult result;
    result.durationBefore = before.durationMs();
    result.durationAfter = after.durationMs();
    result.durationChanged = std::abs(result.durationAfter - result.durationBefore) >
                             result.durationBefore * tolerances.durationPercent / 100.0;
    result.words = compareWords(before, after, tolerances);
    if (result.durationChanged || !result.words.empty()) {
        result.status = CaseStatus::Changed;
        result.before = shown(before, result.words);
        result.after = shown(after, result.words);
    }
    return result;
}

Envelope envelopeOf(const Rendering& rendering, std::size_t columns) {
    Envelope envelope{rendering.sampleRate, static_cast<int64_t>(rendering.samples.size()), {}, {}};
    const std::size_t count = rendering.samples.size();
    columns = std::min(columns, count);
    for (std::size_t column = 0; column < columns; ++column) {
        const auto first =
            rendering.samples.begin() + static_cast<std::ptrdiff_t>(column * count / columns);
        const auto last =
            rendering.samples.begin() + static_cast<std::ptrdiff_t>((column + 1) * count / columns);
        const auto [low, high] = std::minmax_element(first, last);
        envelope.low.push_back(*low);
        envelope.high.push_back(*high);
    }
    return envelope;
}

}  // namespace suite
