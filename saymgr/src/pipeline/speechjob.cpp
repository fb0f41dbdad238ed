#include "pipeline/speechjob.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "audio/resampler.h"
#include "engine/failurestatus.h"
#include "saymgr.h"
#include "text/segmentscanner.h"

namespace saymgr::pipeline {

// Gathers what eSpeak NG produces for the pieces of one text into chunks for the output
// thread, with positions in samples from the start of the text.
//
// Every word of a piece gets exactly one mark, in order. eSpeak NG sends no word event for
// some short words it joins to their neighbour, and several events for a word a dictionary
// replaced by more than one; so a word event marks each word of the piece from the next
// unmarked one up to the one it reports, all at its moment, and nothing once they are marked.
class SpeechJob::Listener : public synthesis::SynthesisListener {
  public:
    explicit Listener(SpeechJob& job) : m_job(job) {}

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
        if (m_chunk.samples.size() >= kBatchSamples || m_sent == 0) {
            return send();
        }
        return !m_job.m_aborted;
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
        const bool accepted = m_job.m_chunks.push(std::move(m_chunk));
        m_chunk = {};
        m_chunk.samples.reserve(kBatchSamples + kBatchSamples / 8);
        return accepted && !m_job.m_aborted;
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
        const int64_t maxSilentOnset = m_job.m_espeak.sampleRate() / 4;
        for (std::size_t i = 0; i < events.size();) {
            std::size_t next = i + 1;
            while (next < events.size() && events[next].sample == events[i].sample) {
                ++next;
            }
            const int64_t limit = std::min(
                next < events.size() ? events[next].sample : std::numeric_limits<int64_t>::max(),
                events[i].sample + maxSilentOnset);
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

    SpeechJob& m_job;
    const text::SynthesisText* m_piece = nullptr;
    std::size_t m_nextWord = 0;      // the piece's first word without a mark
    std::size_t m_nextBookmark = 0;  // the piece's first bookmark not yet reported
    Chunk m_chunk;
    int64_t m_total = 0;
    int64_t m_pieceStart = 0;
    std::size_t m_sent = 0;
};

SpeechJob::SpeechJob(synthesis::Espeak& espeak, SpeechRequest request,
                     std::unique_ptr<audio::Sink> sink, std::function<void()> wake)
    : m_espeak(espeak),
      m_request(std::move(request)),
      m_sink(std::move(sink)),
      m_wake(std::move(wake)) {
    m_due.push_back({SAYMGR_NOTIFY_START, 0, 0, 0});
}

SpeechJob::~SpeechJob() {
    stop();
    finish();
}

int32_t SpeechJob::start() {
    const int32_t status = m_sink->open(m_request.outputRate);
    if (status != 0) {
        return status;
    }
    try {
        m_synthesisThread = std::thread([this] { runSynthesis(); });
        m_outputThread = std::thread([this] { runOutput(); });
    } catch (...) {
        stop();
        finish();
        return engine::statusOfCurrentException();
    }
    return 0;
}

// A thread body that fails ends the job with its status, as a failed write does, instead of
// taking the host down; the queues close so that the other thread and the host stop waiting.
void SpeechJob::runSynthesis() noexcept {
    try {
        synthesize();
    } catch (...) {
        fail(engine::statusOfCurrentException());
        m_chunks.close();
    }
}

void SpeechJob::runOutput() noexcept {
    try {
        output();
    } catch (...) {
        fail(engine::statusOfCurrentException());
        m_audio.close();
        m_finished = true;
        signalHost();
    }
}

bool SpeechJob::hasFailed() {
    std::lock_guard lock(m_mutex);
    return m_status != 0;
}

void SpeechJob::fail(int32_t status) {
    {
        std::lock_guard lock(m_mutex);
        if (m_status == 0) {
            m_status = status;
        }
    }
    abort();
}

void SpeechJob::pause() {
    std::lock_guard lock(m_mutex);
    m_paused = true;
    m_sink->setPaused(true);
}

void SpeechJob::resume() {
    {
        std::lock_guard lock(m_mutex);
        m_paused = false;
        m_sink->setPaused(false);
    }
    m_resumed.notify_all();
}

void SpeechJob::stop() {
    m_stopped = true;
    abort();
}

void SpeechJob::abort() {
    {
        std::lock_guard lock(m_mutex);
        m_aborted = true;
    }
    m_chunks.discard();
    m_audio.discard();
    m_sink->interrupt();
    m_resumed.notify_all();
}

void SpeechJob::synthesize() {
    if (!m_espeak.configure(m_request.languageVoice, m_request.voice)) {
        fail(SAYMGR_EENGINE_LOADING);
        return;
    }
    Listener listener(*this);
    text::SegmentScanner scanner(m_request.source);
    const text::TextBuilder builder(m_request.source, *m_request.table, m_request.dictionaries);
    int32_t start = 0;
    int32_t end = 0;
    while (!m_aborted && scanner.next(start, end)) {
        const text::SynthesisText piece = builder.build(start, end);
        listener.beginPiece(piece);
        m_espeak.setRateFactor(m_request.rules.rateFactor(end - start));
        m_espeak.speak(piece.markup, listener);
        listener.endPiece();
    }
    if (!m_aborted) {
        listener.send();
    }
    m_chunks.close();
}

void SpeechJob::output() {
    audio::Resampler resampler(m_espeak.sampleRate(), m_request.outputRate);
    std::vector<int16_t> samples;
    Chunk chunk;
    int32_t status = resampler.isReady() ? 0 : SAYMGR_EMEMORY_ALLOC;
    while (status == 0 && m_chunks.pop(chunk)) {
        waitWhilePaused();
        if (m_aborted) {
            break;
        }
        samples.clear();
        resampler.process(chunk.samples.data(), chunk.samples.size(), samples);
        schedule(chunk.events, resampler.ratio());
        status = write(samples);
        signalHost();
    }
    if (status == 0 && !m_aborted) {
        samples.clear();
        resampler.flush(samples);
        status = write(samples);
    }
    m_audio.close();
    // A job that failed leaves the output unfinished: a file sink then keeps the user's file.
    const int32_t finished = hasFailed() ? 0 : m_sink->finish();
    if (const int32_t outcome = status != 0 ? status : finished; outcome != 0) {
        fail(outcome);
    }
    m_finished = true;
    signalHost();
}

// Hands the block to the tap first, so that the host has the samples before any notification
// among them falls due.
int32_t SpeechJob::write(const std::vector<int16_t>& samples) {
    if (m_request.tapAudio && !samples.empty()) {
        m_audio.push({samples, m_written});
        signalHost();
    }
    m_written += static_cast<int64_t>(samples.size());
    return m_sink->write(samples.data(), samples.size());
}

void SpeechJob::waitWhilePaused() {
    std::unique_lock lock(m_mutex);
    m_resumed.wait(lock, [this] { return !m_paused || m_aborted; });
}

void SpeechJob::schedule(const std::vector<Notification>& events, double ratio) {
    std::lock_guard lock(m_mutex);
    for (Notification event : events) {
        event.sample =
            static_cast<int64_t>(std::llround(static_cast<double>(event.sample) * ratio));
        m_due.push_back(event);
    }
}

void SpeechJob::signalHost() {
    if (!m_hostSignalled.exchange(true) && m_wake) {
        m_wake();
    }
}

void SpeechJob::takeDue(std::vector<Notification>& notifications) {
    m_hostSignalled = false;
    const bool completed = m_finished && !m_aborted;
    const int64_t heard = m_sink->heard();
    std::lock_guard lock(m_mutex);
    while (!m_due.empty() && (completed || m_due.front().sample < heard)) {
        notifications.push_back(m_due.front());
        m_due.pop_front();
    }
}

int32_t SpeechJob::millisecondsToNextDue(int32_t limit) {
    const int64_t heard = m_sink->heard();
    std::lock_guard lock(m_mutex);
    if (m_paused || m_due.empty() || m_request.outputRate <= 0) {
        return limit;
    }
    const int64_t ahead = m_due.front().sample - heard;
    const int64_t ms = ahead * 1000 / m_request.outputRate + 1;
    return static_cast<int32_t>(std::clamp<int64_t>(ms, 1, limit));
}

int32_t SpeechJob::finish() {
    if (m_synthesisThread.joinable()) {
        m_synthesisThread.join();
    }
    if (m_outputThread.joinable()) {
        m_outputThread.join();
    }
    std::lock_guard lock(m_mutex);
    return m_status;
}

}  // namespace saymgr::pipeline
