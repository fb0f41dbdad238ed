#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/sink.h"
#include "pipeline/boundedqueue.h"
#include "pipeline/speechrequest.h"
#include "synthesis/espeak.h"

namespace saymgr::pipeline {

// One text on its way to a sink. A synthesis thread turns the text, piece by piece, into
// samples and position events; an output thread resamples them and feeds the sink. The
// caller's thread polls takeDue() for the notifications whose audio has been reached and
// controls the job with pause(), resume() and stop(), which take effect at once.
class SpeechJob {
  public:
    SpeechJob(synthesis::Espeak& espeak, SpeechRequest request, std::unique_ptr<audio::Sink> sink,
              std::function<void()> wake);
    ~SpeechJob();
    SpeechJob(const SpeechJob&) = delete;
    SpeechJob& operator=(const SpeechJob&) = delete;

    // Opens the sink and starts both threads; 0 or the sink's status.
    int32_t start();
    void pause();
    void resume();
    void stop();
    bool isStopped() const { return m_stopped; }
    bool isFinished() const { return m_finished; }

    // Appends the notifications that are due, in order (all of them once the job has ended
    // without a stop), with their output sample positions.
    void takeDue(std::vector<Notification>& notifications);
    // The next block that went to the sink, for a request that taps the audio; false when
    // none is waiting.
    bool takeAudio(AudioBlock& block) { return m_audio.tryPop(block); }
    int sampleRate() const { return m_request.outputRate; }
    // How long, in whole milliseconds from 1 to `limit`, until the next notification falls
    // due when the sink plays in real time (`limit` while paused).
    int32_t millisecondsToNextDue(int32_t limit);
    // Waits for both threads; 0 or the status of a failed sink.
    int32_t finish();

    audio::Sink& sink() { return *m_sink; }

  private:
    void runSynthesis() noexcept;
    void runOutput() noexcept;
    void synthesize();
    void output();
    // Ends the job with `status`, unless it already has one.
    void fail(int32_t status);
    bool hasFailed();
    void waitWhilePaused();
    void schedule(const std::vector<Notification>& events, double ratio);
    int32_t write(const std::vector<int16_t>& samples);
    void signalHost();
    void abort();

    synthesis::Espeak& m_espeak;
    SpeechRequest m_request;
    std::unique_ptr<audio::Sink> m_sink;
    std::function<void()> m_wake;

    BoundedQueue<Chunk> m_chunks{16};
    // Tapped blocks wait here for the host; a host that falls behind holds the output back.
    BoundedQueue<AudioBlock> m_audio{16};
    int64_t m_written = 0;  // output thread only
    std::thread m_synthesisThread;
    std::thread m_outputThread;

    std::mutex m_mutex;
    std::condition_variable m_resumed;
    bool m_paused = false;
    std::deque<Notification> m_due;  // output sample positions

    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_aborted{false};
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_hostSignalled{false};
    int32_t m_status = 0;
};

}  // namespace saymgr::pipeline
