#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

#include "parallel/workerwire.h"
#include "pipeline/piecesynthesizer.h"
#include "pipeline/speechrequest.h"

namespace saymgr::parallel {

// The stretches of a text that workers synthesize: runs of whole pieces (so never inside a
// word, an escape command or a replaced word) of at least kJobBytes, ending after a paragraph
// where one ends before twice that length. They tile the text in order.
std::vector<Job> planJobs(std::string_view source);
inline constexpr int32_t kJobBytes = 2048;

// How many workers to use when nobody chose: SAYMGR_JOBS when set to 1 or more, else the
// cores this process may run on, no more than its control group's CPU quota allows.
int defaultJobs();

// Synthesizes a request in worker processes and hands the chunks on in text order, with
// positions counted from the start of the text: what PieceSynthesizer does with the whole
// text in this process. The workers run ahead by at most two jobs each, so the chunks waiting
// for their turn stay few.
class ParallelSynthesis {
  public:
    ParallelSynthesis(const pipeline::SpeechRequest& request, int workers,
                      const std::atomic<bool>& stopped, pipeline::PieceSynthesizer::Send send);

    // 0 when every job was handed on or the synthesis was stopped (by `stopped` or by `send`
    // refusing a chunk); kNoWorkers when no worker could be started (the executable is
    // missing, or the system refuses a process), before anything was handed on;
    // SAYMGR_EENGINE_LOADING when a worker failed, died or sent nothing for kSilenceLimitMs
    // while it had a job.
    int32_t run();

    static constexpr int32_t kNoWorkers = 1;
    static constexpr int kSilenceLimitMs = 20000;

  private:
    struct Worker;
    // What came back of one job: its chunks not handed on yet, and whether it is complete.
    struct Result {
        std::deque<pipeline::Chunk> chunks;
        int64_t samples = 0;
        bool done = false;
    };

    int32_t startWorkers(std::vector<Worker>& workers);
    // Hands the next jobs to idle workers; whether it handed out any.
    bool assignJobs(std::vector<Worker>& workers);
    // Hands on what is ready of the jobs in text order; false when `send` refused a chunk.
    bool forward();
    int32_t readFrom(Worker& worker);
    int32_t take(Worker& worker, FrameType type, std::string_view payload);

    const pipeline::SpeechRequest& m_request;
    int m_workerCount;
    const std::atomic<bool>& m_stopped;
    pipeline::PieceSynthesizer::Send m_send;
    std::vector<Job> m_jobs;
    std::vector<Result> m_results;
    std::size_t m_nextToAssign = 0;
    std::size_t m_nextToSend = 0;
    int64_t m_offset = 0;  // samples of the jobs handed on
};

}  // namespace saymgr::parallel
