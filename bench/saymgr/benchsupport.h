#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "saymgr.h"

namespace saymgrbench {

// Wall and CPU time of a span: all threads of the process and the worker processes it waited
// for.
struct Span {
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

class Stopwatch {
  public:
    Stopwatch();
    Span elapsed() const;

  private:
    std::chrono::steady_clock::time_point m_wall;
    double m_cpu;
};

// The engine opened with a host thread that waits on a condition variable, as a plain
// command-line host does.
class BenchHost {
  public:
    BenchHost();
    ~BenchHost();
    int32_t instance() const { return m_instance; }
    bool isOpen() const { return m_instance != 0; }

  private:
    SaymgrHostThread m_thread{};
    int32_t m_instance = 0;
};

std::string readText(const std::string& path);

// What a benchmark program shares with its benchmarks: the open engine and its sample text.
struct BenchSetup {
    BenchHost* host = nullptr;
    std::string sample;
};

// Opens the engine on the device-less sink, reads the sample text from `samplePath` and runs
// the registered benchmarks with both in `setup`; 1 when the engine does not open or the text
// is shorter than `minimumBytes`. SAYMGR_PACE must be set by the caller when it matters.
int runEngineBenchmarks(int argc, char** argv, const std::string& samplePath,
                        std::size_t minimumBytes, BenchSetup& setup);
// `bytes` bytes of `text` repeated.
std::string repeatedTo(const std::string& text, std::size_t bytes);

}  // namespace saymgrbench
