#include "parallel/parallelsynthesis.h"

#include <poll.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <string>

#include "parallel/workerprocess.h"
#include "saymgr.h"
#include "text/segmentscanner.h"

namespace saymgr::parallel {
namespace {

using Clock = std::chrono::steady_clock;

// Whether the blanks before `end` hold an empty line: the piece ends a paragraph.
bool endsParagraph(std::string_view source, int32_t end) {
    int lineEnds = 0;
    for (auto index = static_cast<std::size_t>(end); index > 0; --index) {
        const char c = source[index - 1];
        if (c == '\n') {
            ++lineEnds;
        } else if (c != ' ' && c != '\t' && c != '\r') {
            break;
        }
    }
    return lineEnds >= 2;
}

// The CPUs a control group (version 2) grants this process: quota / period, rounded up; 0
// when unlimited or unknown.
int cgroupCpuLimit() {
    std::ifstream file("/sys/fs/cgroup/cpu.max");
    std::string quota;
    double period = 0;
    if (!(file >> quota >> period) || quota == "max" || period <= 0) {
        return 0;
    }
    return static_cast<int>(std::ceil(std::strtod(quota.c_str(), nullptr) / period));
}

}  // namespace

std::vector<Job> planJobs(std::string_view source) {
    std::vector<Job> jobs;
    text::SegmentScanner scanner(source);
    int32_t start = 0;
    int32_t end = 0;
    Job job;
    while (scanner.next(start, end)) {
        const int32_t length = end - job.from;
        if (length >= 2 * kJobBytes || (length >= kJobBytes && endsParagraph(source, end))) {
            job.to = end;
            jobs.push_back(job);
            job = Job{static_cast<int32_t>(jobs.size()), end, end};
        }
    }
    if (job.from < static_cast<int32_t>(source.size())) {
        job.to = static_cast<int32_t>(source.size());
        jobs.push_back(job);
    }
    return jobs;
}

int defaultJobs() {
    if (const char* chosen = std::getenv("SAYMGR_JOBS")) {
        const long jobs = std::strtol(chosen, nullptr, 10);
        if (jobs >= 1) {
            return static_cast<int>(std::min(jobs, 256L));
        }
    }
    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    int cores = sched_getaffinity(0, sizeof cpus, &cpus) == 0 ? CPU_COUNT(&cpus) : 1;
    if (const int limit = cgroupCpuLimit(); limit > 0) {
        cores = std::min(cores, limit);
    }
    return std::max(cores, 1);
}

// A worker, the bytes it sent that do not make a whole frame yet, and the job it works on.
struct ParallelSynthesis::Worker {
    WorkerProcess process;
    std::string received;
    int32_t job = -1;
};

ParallelSynthesis::ParallelSynthesis(const pipeline::SpeechRequest& request, int workers,
                                     const std::atomic<bool>& stopped,
                                     pipeline::PieceSynthesizer::Send send)
    : m_request(request),
      m_workerCount(std::max(workers, 1)),
      m_stopped(stopped),
      m_send(std::move(send)) {}

int32_t ParallelSynthesis::run() {
    m_jobs = planJobs(m_request.source);
    m_results.assign(m_jobs.size(), Result{});
    std::vector<Worker> workers(std::min<std::size_t>(m_workerCount, m_jobs.size()));
    if (const int32_t status = startWorkers(workers); status != 0) {
        return status;
    }
    std::vector<pollfd> watched(workers.size());
    Clock::time_point heard = Clock::now();
    while (!m_stopped) {
        // Silence counts from the last frame or the last job handed out, and only while a worker
        // has a job: a slow reader of the file may hold the engine far longer.
        if (assignJobs(workers)) {
            heard = Clock::now();
        }
        if (!forward() || m_nextToSend == m_jobs.size()) {
            return 0;
        }
        for (std::size_t index = 0; index < workers.size(); ++index) {
            watched[index] = {workers[index].process.output(), POLLIN, 0};
        }
        // Short waits, so that a stop is seen within a few tens of milliseconds.
        const int ready = poll(watched.data(), watched.size(), 20);
        if (ready < 0 && errno != EINTR) {
            return SAYMGR_EENGINE_LOADING;
        }
        if (ready <= 0) {
            const bool busy = std::any_of(workers.begin(), workers.end(),
                                          [](const Worker& worker) { return worker.job >= 0; });
            if (busy && Clock::now() - heard > std::chrono::milliseconds(kSilenceLimitMs)) {
                return SAYMGR_EENGINE_LOADING;
            }
            continue;
        }
        heard = Clock::now();
        for (std::size_t index = 0; index < workers.size(); ++index) {
            if (watched[index].revents != 0) {
                if (const int32_t status = readFrom(workers[index]); status != 0) {
                    return status;
                }
            }
        }
    }
    return 0;
}

int32_t ParallelSynthesis::startWorkers(std::vector<Worker>& workers) {
    const std::string program = WorkerProcess::programBesideEngine();
    if (program.empty()) {
        return kNoWorkers;
    }
    const std::string setup = setupFrame(m_request);
    for (Worker& worker : workers) {
        if (!worker.process.start(program) || !worker.process.send(setup)) {
            return kNoWorkers;
        }
    }
    return 0;
}

bool ParallelSynthesis::assignJobs(std::vector<Worker>& workers) {
    const std::size_t window = std::min(m_jobs.size(), m_nextToSend + 2 * workers.size());
    bool assigned = false;
    for (Worker& worker : workers) {
        if (worker.job < 0 && m_nextToAssign < window) {
            const Job& job = m_jobs[m_nextToAssign++];
            worker.job = job.id;
            assigned = true;
            // A worker that is gone shows as the end of its output, where it is reported.
            worker.process.send(jobFrame(job));
        }
    }
    return assigned;
}

bool ParallelSynthesis::forward() {
    while (m_nextToSend < m_jobs.size()) {
        Result& result = m_results[m_nextToSend];
        while (!result.chunks.empty()) {
            pipeline::Chunk chunk = std::move(result.chunks.front());
            result.chunks.pop_front();
            for (pipeline::Notification& event : chunk.events) {
                event.sample += m_offset;
            }
            result.samples += static_cast<int64_t>(chunk.samples.size());
            if (!m_send(std::move(chunk))) {
                return false;
            }
        }
        if (!result.done) {
            return true;
        }
        m_offset += result.samples;
        ++m_nextToSend;
    }
    return true;
}

int32_t ParallelSynthesis::readFrom(Worker& worker) {
    char block[65536];
    for (;;) {
        const ssize_t got = read(worker.process.output(), block, sizeof block);
        if (got > 0) {
            worker.received.append(block, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got == 0 || errno != EAGAIN) {
            return SAYMGR_EENGINE_LOADING;  // the worker ended or its pipe broke
        }
        break;
    }
    std::string_view pending = worker.received;
    FrameHeader header;
    while (pending.size() >= kFrameHeaderBytes) {
        if (!readHeader(pending, header)) {
            return SAYMGR_EENGINE_LOADING;
        }
        if (pending.size() < kFrameHeaderBytes + header.length) {
            break;
        }
        const int32_t status =
            take(worker, header.type, pending.substr(kFrameHeaderBytes, header.length));
        if (status != 0) {
            return status;
        }
        pending.remove_prefix(kFrameHeaderBytes + header.length);
    }
    worker.received.erase(0, worker.received.size() - pending.size());
    return 0;
}

int32_t ParallelSynthesis::take(Worker& worker, FrameType type, std::string_view payload) {
    int32_t jobId = -1;
    int32_t status = 0;
    if (type == FrameType::Chunk) {
        pipeline::Chunk chunk;
        if (!parseChunk(payload, jobId, chunk) || jobId != worker.job) {
            return SAYMGR_EENGINE_LOADING;
        }
        m_results[static_cast<std::size_t>(jobId)].chunks.push_back(std::move(chunk));
        return 0;
    }
    if (type != FrameType::JobEnd || !parseJobEnd(payload, jobId, status) || jobId != worker.job ||
        status != 0) {
        return SAYMGR_EENGINE_LOADING;
    }
    m_results[static_cast<std::size_t>(jobId)].done = true;
    worker.job = -1;
    return 0;
}

}  // namespace saymgr::parallel
