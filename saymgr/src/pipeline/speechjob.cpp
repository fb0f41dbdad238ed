#include "pipeline/speechjob.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "audio/resampler.h"
#include "engine/failurestatus.h"
#include "parallel/parallelsynthesis.h"
#include "pipeline/piecesynthesizer.h"
#include "saymgr.h"

namespace saymgr::pipeline {

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
    const PieceSynthesizer::Send send = [this](Chunk&& chunk) {
        return m_chunks.push(std::move(chunk));
    };
    // Without workers (none installed, or the system refuses processes) the text is written
    // here, as a short one is.
    int32_t status = parallel::ParallelSynthesis::kNoWorkers;
    if (m_request.jobs > 1) {
        status = parallel::ParallelSynthesis(m_request, m_request.jobs, m_aborted, send).run();
    }
    if (status == parallel::ParallelSynthesis::kNoWorkers) {
        PieceSynthesizer(m_espeak, m_request, m_aborted, send)
            .run(0, std::numeric_limits<int32_t>::max());
    } else if (status != 0) {
        fail(status);
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
