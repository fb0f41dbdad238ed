// Monitoring: the lag of the word marks behind their audio while the null sink plays in real
// time (target: a median of at most 10 ms), and what the audio tap costs: speaking a text as
// fast as synthesis goes with a tap that looks at every sample, against the same without a
// tap, in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>

#include "benchsupport.h"
#include "monitor/timingfigures.h"
#include "saymgr_ext.h"

namespace saymgrbench {
namespace {

using Clock = std::chrono::steady_clock;

BenchSetup g_setup;
monitor::SpeechLog* g_log = nullptr;
Clock::time_point g_called;
int64_t g_tapSum = 0;

int32_t logNotification(int32_t, int32_t code, int32_t value1, int32_t value2) {
    const std::chrono::duration<double, std::milli> elapsed = Clock::now() - g_called;
    monitor::LoggedEvent event{elapsed.count(), code, value1, value2};
    SaymgrGetNotifyPosition(g_setup.host->instance(), &event.sample, &event.sampleRate);
    g_log->add(event);
    return 0;
}

int32_t speakSample(const std::string& text) {
    return EngineSpeak(g_setup.host->instance(), 1, text.data(), static_cast<int32_t>(text.size()),
                       SAYMGR_TEXT_ANSI, nullptr);
}

void MarkLag(benchmark::State& state) {
    setenv("SAYMGR_PACE", "1", 1);
    const std::string text = g_setup.sample.substr(0, 400);
    EngineSetCallback(g_setup.host->instance(), 1, logNotification);
    monitor::LagFigures total{1e9, 0, -1e9, 0};
    for (auto _ : state) {
        monitor::SpeechLog log(text, common::CodePage::Ansi1252);
        g_log = &log;
        g_called = Clock::now();
        speakSample(text);
        const auto lag = monitor::measureTiming(log).markLag;
        if (!lag) {
            state.SkipWithError("no word marks with positions");
            break;
        }
        total.minMs = std::min(total.minMs, lag->minMs);
        total.medianMs += lag->medianMs;
        total.maxMs = std::max(total.maxMs, lag->maxMs);
        total.count += lag->count;
    }
    EngineSetCallback(g_setup.host->instance(), 1, nullptr);
    setenv("SAYMGR_PACE", "0", 1);
    const double median = total.medianMs / static_cast<double>(state.iterations());
    state.counters["lag_min_ms"] = total.minMs;
    state.counters["lag_median_ms"] = median;
    state.counters["lag_max_ms"] = total.maxMs;
    state.counters["words"] = static_cast<double>(total.count);
    state.counters["ratio_to_10ms"] = std::fabs(median) / 10.0;
}

void sumSamples(void*, const int16_t* samples, int32_t count, int64_t, int32_t) {
    for (int32_t i = 0; i < count; ++i) {
        g_tapSum += samples[i];
    }
}

double speakingCpu(const std::string& text, SaymgrAudioTapProc tap) {
    SaymgrSetAudioTap(g_setup.host->instance(), tap, nullptr);
    const Stopwatch watch;
    speakSample(text);
    const double cpu = watch.elapsed().cpuSeconds;
    SaymgrSetAudioTap(g_setup.host->instance(), nullptr, nullptr);
    return cpu;
}

// Each iteration speaks the text without a tap and then with one, so that both see the same
// machine.
void TapCost(benchmark::State& state) {
    const std::string text = g_setup.sample.substr(0, 8000);
    double untapped = 0;
    double tapped = 0;
    for (auto _ : state) {
        untapped += speakingCpu(text, nullptr);
        tapped += speakingCpu(text, sumSamples);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["cpu_untapped_s"] = untapped / iterations;
    state.counters["cpu_tapped_s"] = tapped / iterations;
    state.counters["cpu_ratio_to_untapped"] = tapped / untapped;
    benchmark::DoNotOptimize(g_tapSum);
}

}  // namespace
}  // namespace saymgrbench

BENCHMARK(saymgrbench::MarkLag)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(saymgrbench::TapCost)->Iterations(10)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    setenv("SAYMGR_PACE", "0", 1);
    return saymgrbench::runEngineBenchmarks(argc, argv, "/usr/share/common-licenses/GPL-3", 8000,
                                            saymgrbench::g_setup);
}
