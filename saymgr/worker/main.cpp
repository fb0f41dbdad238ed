// saymgr-worker: synthesizes stretches of a text for the engine, which starts one such process
// per core to write a long text into a sound file. It reads the request from its standard
// input, then jobs, and writes each job's samples and notifications to its standard output.
// It ends when its input closes, and with the engine's process.
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

#include "parallel/workerwire.h"
#include "pipeline/piecesynthesizer.h"
#include "saymgr.h"
#include "synthesis/espeak.h"

namespace {

using namespace saymgr;

constexpr int kInput = STDIN_FILENO;
constexpr int kOutput = STDOUT_FILENO;

// Follows the engine's process: killed when it ends, also when it was killed itself.
bool followParent(pid_t parent) {
    return prctl(PR_SET_PDEATHSIG, SIGKILL) == 0 && getppid() == parent;
}

bool readSetup(parallel::WorkerSetup& setup) {
    parallel::FrameType type{};
    std::string payload;
    return parallel::readFrame(kInput, type, payload) && type == parallel::FrameType::Setup &&
           parallel::parseSetup(payload, setup);
}

// Synthesizes one job and reports it; false when the engine is gone.
bool runJob(synthesis::Espeak& espeak, const pipeline::SpeechRequest& request,
            const parallel::Job& job) {
    std::atomic<bool> stopped{false};
    bool connected = true;
    pipeline::PieceSynthesizer synthesizer(espeak, request, stopped, [&](pipeline::Chunk&& chunk) {
        connected = parallel::writeAll(kOutput, parallel::chunkFrame(job.id, chunk));
        return connected;
    });
    const bool done = synthesizer.run(job.from, job.to);
    return connected &&
           parallel::writeAll(
               kOutput, parallel::jobEndFrame(job.id, done ? SAYMGR_OK : SAYMGR_EENGINE_LOADING));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || !followParent(static_cast<pid_t>(std::atol(argv[1])))) {
        return 2;
    }
    parallel::WorkerSetup setup;
    if (!readSetup(setup)) {
        return 2;
    }
    synthesis::Espeak& espeak = synthesis::Espeak::process();
    if (!espeak.isReady() || !espeak.configure(setup.request.languageVoice, setup.request.voice)) {
        return 3;
    }
    parallel::FrameType type{};
    std::string payload;
    parallel::Job job;
    while (parallel::readFrame(kInput, type, payload)) {
        if (type != parallel::FrameType::Job || !parallel::parseJob(payload, job) ||
            !runJob(espeak, setup.request, job)) {
            return 2;
        }
    }
    return 0;
}
