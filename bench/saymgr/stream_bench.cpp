// Streaming: the time from EngineSpeak to the start of the speech (the first samples reach
// the sink, which the start notification follows) for a small and a large text, the time
// from EngineStop (called from inside the dispatch loop, during real-time speech, and during
// a generation into a named pipe nobody reads) until the call returns, and the peak memory of
// the process while it generates speech from a 1 MB text.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "benchsupport.h"

namespace saymgrbench {
namespace {

using Clock = std::chrono::steady_clock;

BenchSetup g_setup;
Clock::time_point g_started;
int g_words = 0;
int g_stopAfterWords = 0;
double g_smallLatency = 0;

int32_t stopAtStart(int32_t, int32_t code, int32_t, int32_t) {
    if (code == SAYMGR_NOTIFY_START) {
        g_started = Clock::now();
        EngineStop(g_setup.host->instance(), 1);
    }
    return 0;
}

int32_t stopAfterWords(int32_t, int32_t code, int32_t, int32_t) {
    if (code == SAYMGR_NOTIFY_MARK1 && ++g_words == g_stopAfterWords) {
        EngineStop(g_setup.host->instance(), 1);
    }
    return 0;
}

void FirstAudio(benchmark::State& state) {
    const std::string text = repeatedTo(g_setup.sample, static_cast<std::size_t>(state.range(0)));
    EngineSetCallback(g_setup.host->instance(), 1, stopAtStart);
    double total = 0;
    for (auto _ : state) {
        const Clock::time_point called = Clock::now();
        EngineSpeak(g_setup.host->instance(), 1, text.data(), static_cast<int32_t>(text.size()),
                    SAYMGR_TEXT_ANSI, nullptr);
        const double latency = std::chrono::duration<double>(g_started - called).count();
        total += latency;
        state.SetIterationTime(latency);
    }
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["latency_ms"] = mean * 1000;
    state.counters["ratio_to_15ms"] = mean / 0.015;
    if (state.range(0) <= 1024) {
        g_smallLatency = mean;
    } else if (g_smallLatency > 0) {
        state.counters["ratio_to_1KB"] = mean / g_smallLatency;
    }
}

Clock::time_point g_stopped;

int32_t stopAfterThirdWord(int32_t, int32_t code, int32_t, int32_t) {
    if (code == SAYMGR_NOTIFY_MARK1 && ++g_words == 3) {
        g_stopped = Clock::now();
        EngineStop(g_setup.host->instance(), 1);
    }
    return 0;
}

void StopLatency(benchmark::State& state) {
    setenv("SAYMGR_PACE", "1", 1);
    const std::string text = repeatedTo(g_setup.sample, 1 << 20);
    EngineSetCallback(g_setup.host->instance(), 1, stopAfterThirdWord);
    double total = 0;
    for (auto _ : state) {
        g_words = 0;
        EngineSpeak(g_setup.host->instance(), 1, text.data(), static_cast<int32_t>(text.size()),
                    SAYMGR_TEXT_ANSI, nullptr);
        const double latency = std::chrono::duration<double>(Clock::now() - g_stopped).count();
        total += latency;
        state.SetIterationTime(latency);
    }
    setenv("SAYMGR_PACE", "0", 1);
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["latency_ms"] = mean * 1000;
    state.counters["ratio_to_50ms"] = mean / 0.050;
}

// A generation into a named pipe whose reader never reads: the stop comes once the engine
// waits for the full pipe (a moment after the start notification).
int32_t stopStalledAtStart(int32_t, int32_t code, int32_t, int32_t) {
    if (code == SAYMGR_NOTIFY_START) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        g_stopped = Clock::now();
        EngineStop(g_setup.host->instance(), 1);
    }
    return 0;
}

void StopLatencyStalledPipe(benchmark::State& state) {
    const std::string text = repeatedTo(g_setup.sample, 1 << 20);
    const std::string pipe =
        (std::filesystem::temp_directory_path() / "saymgr_stream_bench.pipe").string();
    std::filesystem::remove(pipe);
    if (::mkfifo(pipe.c_str(), 0600) != 0) {
        state.SkipWithError("no named pipe");
        return;
    }
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ::fcntl(reader, F_SETPIPE_SZ, 4096);
    EngineSetCallback(g_setup.host->instance(), 1, stopStalledAtStart);
    double total = 0;
    for (auto _ : state) {
        int32_t bytes = 0;
        EngineSpeakToFile(g_setup.host->instance(), text.data(), static_cast<int32_t>(text.size()),
                          pipe.c_str(), SAYMGR_FORMAT_LINEAR16, SAYMGR_TEXT_ANSI, 0, &bytes);
        const double latency = std::chrono::duration<double>(Clock::now() - g_stopped).count();
        total += latency;
        state.SetIterationTime(latency);
        // Empty the pipe for the next round.
        std::vector<char> buffer(65536);
        while (::read(reader, buffer.data(), buffer.size()) > 0) {
        }
    }
    ::close(reader);
    std::filesystem::remove(pipe);
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["latency_ms"] = mean * 1000;
    state.counters["ratio_to_50ms"] = mean / 0.050;
}

// The process's peak resident memory in bytes since the last reset.
double peakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) * 1024;
        }
    }
    return 0;
}

void PeakMemory(benchmark::State& state) {
    const std::string text = repeatedTo(g_setup.sample, 1 << 20);
    const std::string path =
        (std::filesystem::temp_directory_path() / "saymgr_stream_bench.wav").string();
    g_stopAfterWords = static_cast<int>(state.range(0));
    EngineSetCallback(g_setup.host->instance(), 1, stopAfterWords);
    double peak = 0;
    for (auto _ : state) {
        std::ofstream("/proc/self/clear_refs") << "5";
        g_words = 0;
        int32_t bytes = 0;
        EngineSpeakToFile(g_setup.host->instance(), text.data(), static_cast<int32_t>(text.size()),
                          path.c_str(), SAYMGR_FORMAT_WAVE16, SAYMGR_TEXT_ANSI, 0, &bytes);
        peak = peakResidentBytes();
        state.counters["file_bytes"] = bytes;
    }
    state.counters["peak_MiB"] = peak / (1 << 20);
    state.counters["ratio_to_64MiB"] = peak / (64.0 * (1 << 20));
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace saymgrbench

BENCHMARK(saymgrbench::FirstAudio)
    ->Arg(1024)
    ->Arg(1 << 20)
    ->Iterations(50)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(saymgrbench::StopLatency)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(saymgrbench::StopLatencyStalledPipe)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
// 0: the whole text.
BENCHMARK(saymgrbench::PeakMemory)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    setenv("SAYMGR_PACE", "0", 1);
    return saymgrbench::runEngineBenchmarks(argc, argv, "/usr/share/common-licenses/GPL-3", 1,
                                            saymgrbench::g_setup);
}
