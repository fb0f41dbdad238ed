// Subtitles of a 1 MB text: piece cues against word cues over the same log of notifications,
// in the same run (target: ratio_to_word_cues at most 1.2). The log is made up as the
// engine reports a text: a piece per sentence, a word mark per word, each at its audio sample.
#include <benchmark/benchmark.h>
#include <saymgr.h>

#include <chrono>
#include <string>

#include "monitor/speechlog.h"
#include "monitor/subtitles.h"

namespace {

constexpr int32_t kRate = 22050;

monitor::SpeechLog makeLog(std::size_t bytes) {
    const std::string sentence = "The quick brown fox jumps over the lazy dog again. ";
    std::string text;
    while (text.size() < bytes) {
        text += sentence;
    }
    monitor::SpeechLog log(text, common::CodePage::Ansi1252);
    int64_t sample = 0;
    log.add({0, SAYMGR_NOTIFY_START, 0, 0, 0, kRate});
    for (std::size_t piece = 0; piece < text.size(); piece += sentence.size()) {
        log.add({0, SAYMGR_NOTIFY_CHUNK, static_cast<int32_t>(sentence.size()), 0, sample, kRate});
        std::size_t word = piece;
        while (word < piece + sentence.size() - 1) {
            const std::size_t end = text.find(' ', word);
            log.add({0, SAYMGR_NOTIFY_MARK1, static_cast<int32_t>(end - word),
                     static_cast<int32_t>(word), sample, kRate});
            sample += kRate / 4;
            word = end + 1;
        }
    }
    log.add({0, SAYMGR_NOTIFY_END, 0, 0, sample, kRate});
    return log;
}

const monitor::SpeechLog& megabyteLog() {
    static const monitor::SpeechLog log = makeLog(1 << 20);
    return log;
}

// Each iteration builds the word cues and then the piece cues of the same log.
void PieceAgainstWordCues(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    Clock::duration words{};
    Clock::duration pieces{};
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(monitor::buildCues(megabyteLog(), monitor::SubtitleUnit::Word));
        const auto middle = Clock::now();
        benchmark::DoNotOptimize(monitor::buildCues(megabyteLog(), monitor::SubtitleUnit::Piece));
        words += middle - start;
        pieces += Clock::now() - middle;
    }
    state.counters["ratio_to_word_cues"] =
        std::chrono::duration<double>(pieces) / std::chrono::duration<double>(words);
}

BENCHMARK(PieceAgainstWordCues)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
