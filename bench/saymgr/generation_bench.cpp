// Writing a long English text into sound files, in each format at each frequency, against
// eSpeak NG's own synthesis of the same text into memory, measured in the same run. The
// counters wall_ratio and cpu_ratio (process CPU time, all threads) compare the two.
#include <benchmark/benchmark.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "benchsupport.h"

namespace saymgrbench {
namespace {

const char* const kTextPath = "/usr/share/common-licenses/GPL-3";
constexpr int kFrequencies[] = {SAYMGR_FREQ_7200, SAYMGR_FREQ_8000, SAYMGR_FREQ_10000,
                                SAYMGR_FREQ_11025};
constexpr const char* kFormatNames[] = {"linear16", "mulaw", "alaw", "wave8", "wave16"};

BenchHost* g_host = nullptr;
std::string g_text;
std::vector<short> g_kept;

int keepSamples(short* samples, int count, espeak_EVENT*) {
    if (samples != nullptr && count > 0) {
        g_kept.insert(g_kept.end(), samples, samples + count);
    }
    return 0;
}

// eSpeak NG alone: the same voice and values as the engine's defaults, samples kept in memory.
Span synthesizeToMemory() {
    g_kept.clear();
    g_kept.shrink_to_fit();
    espeak_SetSynthCallback(keepSamples);
    espeak_SetVoiceByName("en-us");
    espeak_SetParameter(espeakRATE, 175, 0);
    espeak_SetParameter(espeakVOLUME, 100, 0);
    espeak_SetParameter(espeakPITCH, 50, 0);
    const Stopwatch stopwatch;
    espeak_Synth(g_text.c_str(), g_text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                 nullptr);
    const Span span = stopwatch.elapsed();
    g_kept.clear();
    g_kept.shrink_to_fit();
    return span;
}

Span fastest(const Span& a, const Span& b) {
    return {std::min(a.wallSeconds, b.wallSeconds), std::min(a.cpuSeconds, b.cpuSeconds)};
}

// Each round pairs the baseline with the engine, one right after the other, so that both meet
// the same load on the machine; the fastest of the rounds counts for each.
void Generate(benchmark::State& state) {
    constexpr int kRounds = 3;
    const int frequency = static_cast<int>(state.range(0));
    const auto format = static_cast<int32_t>(state.range(1));
    state.SetLabel(std::string(kFormatNames[format]) + " at code " + std::to_string(frequency));
    const std::string path =
        (std::filesystem::temp_directory_path() / "saymgr_generation_bench.snd").string();
    EngineSetFrequency(g_host->instance(), frequency);
    // Without acceleration the engine speaks exactly what the baseline speaks.
    EngineSetAccelerationRule(g_host->instance(), 0, 0);
    const Span slowest{1e9, 1e9};
    Span baseline = slowest;
    Span engine = slowest;
    int32_t bytes = 0;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            baseline = fastest(baseline, synthesizeToMemory());
            const Stopwatch stopwatch;
            if (EngineSpeakToFile(g_host->instance(), g_text.data(),
                                  static_cast<int32_t>(g_text.size()), path.c_str(), format,
                                  SAYMGR_TEXT_ANSI, 0, &bytes) != 0) {
                state.SkipWithError("generation failed");
            }
            engine = fastest(engine, stopwatch.elapsed());
        }
        state.SetIterationTime(engine.wallSeconds);
    }
    state.counters["baseline_wall_s"] = baseline.wallSeconds;
    state.counters["wall_ratio"] = engine.wallSeconds / baseline.wallSeconds;
    state.counters["cpu_ratio"] = engine.cpuSeconds / baseline.cpuSeconds;
    state.counters["bytes"] = bytes;
    std::filesystem::remove(path);
}

void registerAll() {
    for (const int frequency : kFrequencies) {
        for (int format = 0; format < 5; ++format) {
            benchmark::RegisterBenchmark("Engine/speak_to_file", Generate)
                ->Args({frequency, format})
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
}

}  // namespace
}  // namespace saymgrbench

int main(int argc, char** argv) {
    setenv("SAYMGR_SINK", "null", 1);
    saymgrbench::BenchHost host;
    saymgrbench::g_text = saymgrbench::readText(saymgrbench::kTextPath);
    if (!host.isOpen() || saymgrbench::g_text.empty()) {
        return 1;
    }
    saymgrbench::g_host = &host;
    saymgrbench::registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
