#include "pipeline/piecesynthesizer.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <utility>

#include "saymgr.h"
#include "text/segmentscanner.h"

namespace saymgr::pipeline {
namespace {

// Gathers what eSpeak NG produces for pieces of one text into chunks, with positions in
// samples from the start of the first piece.
//
// Every word of a piece gets exactly one mark, in order. eSpeak NG sends no word event for
// some short words it joins to their neighbour, and several events for a word a dictionary
// replaced by more than one; so a word event marks each word of the piece from the next
// unmarked one up to the one it reports, all at its moment, and nothing once they are marked.
class Listener : public synthesis::SynthesisListener {
  public:
    Listener(int samplingRate, const std::atomic<bool>& stopped, PieceSynthesizer::Send send)
        : m_maxSilentOnset(samplingRate / 4), m_stopped(stopped), m_send(std::move(send)) {}

    void beginPiece(const text::SynthesisText& piece) {
        m_piece = &piece;
        m_nextWord = 0;
        m_nextBookmark = 0;
        m_pieceStart = m_total;
        add(m_total, {SAYMGR_NOTIFY_CHUNK, piece.sourceEnd - piece.sourceStart, 0, 0});
    }

    // Marks the words and bookmarks of the piece that no event reached, at its end.
    void endPiece() {
        markWordsBefore(std::numeric_limits<int32_t>::max(), m_total);
        markBookmarksThrough(m_piece->bookmarks.size(), m_total);
        m_piece = nullptr;
    }

    bool onSamples(const int16_t* samples, std::size_t count) override {
        m_chunk.samples.insert(m_chunk.samples.end(), samples, samples + count);
        m_total += static_cast<int64_t>(count);
        // The very first samples leave at once so that speech starts without delay.
        if (m_chunk.samples.size() >= PieceSynthesizer::kBatchSamples || m_sent == 0) {
            return send();
        }
        return !m_stopped;
    }

    void onWord(int64_t sample, int32_t position, int32_t length) override {
        // eSpeak NG now and then repeats a stale word event without a length.
        if (length <= 0) {
            return;
        }
        const auto [start, end] = m_piece->sourceRange(position - 1, length);
        if (end > start) {
            markWordsBefore(end, m_pieceStart + sample);
        }
    }

    void onMark(int64_t sample, const char* name) override {
        const std::string_view text(name);
        if (text.size() < 2 || text[0] != 'b') {
            return;
        }
        const auto index = std::strtoul(name + 1, nullptr, 10);
        if (index < m_piece->bookmarks.size()) {
            markBookmarksThrough(index + 1, m_pieceStart + sample);
        }
    }

    bool send() {
        markWhereSoundBegins();
        ++m_sent;
        const bool accepted = m_send(std::move(m_chunk));
        m_chunk = {};
        m_chunk.samples.reserve(PieceSynthesizer::kBatchSamples +
                                PieceSynthesizer::kBatchSamples / 8);
        return accepted && !m_stopped;
    }

  private:
    // eSpeak NG drops mark events when many follow one another without speech between them:
    // a bookmark event reports the bookmarks before it that none reached too, so each reaches
    // the host once and in order.
    void markBookmarksThrough(std::size_t end, int64_t sample) {
        for (; m_nextBookmark < end; ++m_nextBookmark) {
            const text::Bookmark& mark = m_piece->bookmarks[m_nextBookmark];
            add(sample, {SAYMGR_NOTIFY_MARK2, mark.length, mark.start, 0});
        }
    }

    void add(int64_t sample, Notification notification) {
        notification.sample = sample;
        m_chunk.events.push_back(notification);
    }

    // eSpeak NG places a word at the start of its first phoneme, which may be silent (the
    // closure before a 't', a pause): each word mark moves on to the first sample that is
    // heard, within a quarter of a second of the chunk and never past the next event.
    void markWhereSoundBegins() {
        std::vector<Notification>& events = m_chunk.events;
        const int64_t chunkStart = m_total - static_cast<int64_t>(m_chunk.samples.size());
        for (std::size_t i = 0; i < events.size();) {
            std::size_t next = i + 1;
            while (next < events.size() && events[next].sample == events[i].sample) {
                ++next;
            }
            const int64_t limit = std::min(
                next < events.size() ? events[next].sample : std::numeric_limits<int64_t>::max(),
                events[i].sample + m_maxSilentOnset);
            const int64_t heard = firstHeard(events[i].sample - chunkStart, limit - chunkStart);
            for (; i < next; ++i) {
                if (events[i].code == SAYMGR_NOTIFY_MARK1 && heard >= 0) {
                    events[i].sample = chunkStart + heard;
                }
            }
        }
    }

    // The index of the first sample in [from, to) of the chunk that is not silent; -1 when
    // there is none.
    int64_t firstHeard(int64_t from, int64_t to) const {
        const auto end = std::min<int64_t>(to, static_cast<int64_t>(m_chunk.samples.size()));
        for (int64_t i = std::max<int64_t>(from, 0); i < end; ++i) {
            if (std::abs(m_chunk.samples[static_cast<std::size_t>(i)]) > kSilence) {
                return i;
            }
        }
        return -1;
    }

    // Marks at `sample` each unmarked word of the piece that starts before `end`.
    void markWordsBefore(int32_t end, int64_t sample) {
        if (m_piece == nullptr) {
            return;
        }
        const std::vector<text::Word>& words = m_piece->words;
        for (; m_nextWord < words.size() && words[m_nextWord].start < end; ++m_nextWord) {
            const text::Word& word = words[m_nextWord];
            add(sample, {SAYMGR_NOTIFY_MARK1, word.length, word.start, 0});
        }
    }

    static constexpr int kSilence = 16;

    int64_t m_maxSilentOnset;  // a quarter of a second
    const std::atomic<bool>& m_stopped;
    PieceSynthesizer::Send m_send;
    const text::SynthesisText* m_piece = nullptr;
    std::size_t m_nextWord = 0;      // the piece's first word without a mark
    std::size_t m_nextBookmark = 0;  // the piece's first bookmark not yet reported
    Chunk m_chunk;
    int64_t m_total = 0;
    int64_t m_pieceStart = 0;
    std::size_t m_sent = 0;
};

}  // namespace

PieceSynthesizer::PieceSynthesizer(synthesis::Espeak& espeak, const SpeechRequest& request,
                                   const std::atomic<bool>& stopped, Send send)
    : m_espeak(espeak), m_request(request), m_stopped(stopped), m_send(std::move(send)) {}

bool PieceSynthesizer::run(int32_t from, int32_t to) {
    Listener listener(m_espeak.sampleRate(), m_stopped, m_send);
    text::SegmentScanner scanner(m_request.source);
    const text::TextBuilder builder(m_request.source, *m_request.table, m_request.dictionaries);
    int32_t start = 0;
    int32_t end = 0;
    while (!m_stopped && scanner.next(start, end) && start < to) {
        if (start < from) {
            continue;
        }
        const text::SynthesisText piece = builder.build(start, end);
        listener.beginPiece(piece);
        m_espeak.setRateFactor(m_request.rules.rateFactor(end - start));
        m_espeak.speak(piece.markup, listener);
        listener.endPiece();
    }
    return !m_stopped && listener.send();
}

}  // namespace saymgr::pipeline
