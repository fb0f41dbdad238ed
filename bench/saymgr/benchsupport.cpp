#include "benchsupport.h"

#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

namespace saymgrbench {

namespace {

// The CPU of this process and of the worker processes the engine started and waited for.
double processCpuSeconds() {
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    double total = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }
    return total;
}

struct Waiter {
    std::mutex mutex;
    std::condition_variable woken;
    bool pending = false;
};

Waiter g_waiter;

void dispatch(void* context, int32_t waitMs) {
    auto& waiter = *static_cast<Waiter*>(context);
    std::unique_lock lock(waiter.mutex);
    waiter.woken.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return waiter.pending; });
    waiter.pending = false;
}

void wake(void* context) {
    auto& waiter = *static_cast<Waiter*>(context);
    {
        std::lock_guard lock(waiter.mutex);
        waiter.pending = true;
    }
    waiter.woken.notify_one();
}

}  // namespace

Stopwatch::Stopwatch() : m_wall(std::chrono::steady_clock::now()), m_cpu(processCpuSeconds()) {}

Span Stopwatch::elapsed() const {
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - m_wall).count(),
            processCpuSeconds() - m_cpu};
}

BenchHost::BenchHost() {
    m_thread = {&g_waiter, &dispatch, &wake};
    if (EngineOpen(&m_instance, &m_thread, nullptr) != 0) {
        m_instance = 0;
    }
}

BenchHost::~BenchHost() {
    if (m_instance != 0) {
        EngineClose(m_instance);
    }
}

std::string readText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string repeatedTo(const std::string& text, std::size_t bytes) {
    std::string result;
    result.reserve(bytes + text.size());
    while (result.size() < bytes) {
        result += text;
    }
    result.resize(bytes);
    return result;
}

int runEngineBenchmarks(int argc, char** argv, const std::string& samplePath,
                        std::size_t minimumBytes, BenchSetup& setup) {
    setenv("SAYMGR_SINK", "null", 1);
    BenchHost host;
    setup.sample = readText(samplePath);
    if (!host.isOpen() || setup.sample.empty() || setup.sample.size() < minimumBytes) {
        return 1;
    }
    setup.host = &host;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    setup.host = nullptr;
    return 0;
}

}  // namespace saymgrbench
