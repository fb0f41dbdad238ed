#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace saymgr::parallel {

// One saymgr-worker process and the two pipes to it. Started with posix_spawn (the host has
// threads, so nothing is forked), its output pipe is non-blocking for the engine's poll loop.
// Destroying it closes its input, kills it and waits for it: no worker outlives its job.
class WorkerProcess {
  public:
    WorkerProcess() = default;
    ~WorkerProcess();
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    // Starts `program`; false when it cannot be started.
    bool start(const std::string& program);
    // Writes `bytes` to the worker's input; false when the worker is gone.
    bool send(std::string_view bytes) const;
    int output() const { return m_output; }
    pid_t pid() const { return m_pid; }

    // The worker executable that belongs to this engine library: saymgr/saymgr-worker in the
    // library's folder; empty when it is not there.
    static std::string programBesideEngine();

  private:
    pid_t m_pid = -1;
    int m_input = -1;   // the worker's standard input, written by the engine
    int m_output = -1;  // the worker's standard output, read by the engine
};

}  // namespace saymgr::parallel
