// Writing a long English text into sound files, in each format at each frequency, against
// eSpeak NG alone writing the same text into a 16-bit wave file at its own 22.05 kHz, measured
// in the same run. The counters wall_ratio and cpu_ratio (process CPU time, all threads)
// compare the two runs; cpu_ratio_per_audio_s compares the CPU time each spends per second of
// sound it writes.
#include <benchmark/benchmark.h>
#include <espeak-ng/speak_lib.h>
#include <sndfile.h>

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

BenchSetup g_setup;
SNDFILE* g_wave = nullptr;
sf_count_t g_waveFrames = 0;

int writeSamples(short* samples, int count, espeak_EVENT*) {
    if (samples != nullptr && count > 0) {
        g_waveFrames += sf_write_short(g_wave, samples, count);
    }
    return 0;
}

// eSpeak NG alone: the same voice and values as the engine's defaults, its samples written
// as they come into a 16-bit wave file at the synthesis rate.
Span synthesizeToWave(const std::string& path, double& audioSeconds) {
    espeak_SetSynthCallback(writeSamples);
    espeak_SetVoiceByName("en-us");
    espeak_SetParameter(espeakRATE, 175, 0);
    espeak_SetParameter(espeakVOLUME, 100, 0);
    espeak_SetParameter(espeakPITCH, 50, 0);
    const Stopwatch stopwatch;
    SF_INFO info{};
    info.samplerate = 22050;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    g_wave = sf_open(path.c_str(), SFM_WRITE, &info);
    g_waveFrames = 0;
    if (g_wave != nullptr) {
        espeak_Synth(g_setup.sample.c_str(), g_setup.sample.size() + 1, 0, POS_CHARACTER, 0,
                     espeakCHARS_UTF8, nullptr, nullptr);
        sf_close(g_wave);
        g_wave = nullptr;
    }
    const Span span = stopwatch.elapsed();
    audioSeconds = static_cast<double>(g_waveFrames) / info.samplerate;
    return span;
}

Span fastest(const Span& a, const Span& b) {
    return {std::min(a.wallSeconds, b.wallSeconds), std::min(a.cpuSeconds, b.cpuSeconds)};
}

// Seconds of sound in a file of `bytes` bytes written by the engine.
double engineAudioSeconds(int32_t format, int frequencyCode, int32_t bytes) {
    constexpr int kRates[] = {0, 0, 0, 0, 0, 0, 0, 7200, 8000, 0, 10000, 11025};
    const int header = format >= SAYMGR_FORMAT_WAVE8 ? 44 : 0;
    const int sampleBytes =
        format == SAYMGR_FORMAT_LINEAR16 || format == SAYMGR_FORMAT_WAVE16 ? 2 : 1;
    return static_cast<double>(bytes - header) / sampleBytes / kRates[frequencyCode];
}

// Each round pairs the baseline with the engine, one right after the other, so that both meet
// the same load on the machine; the fastest of the rounds counts for each.
void Generate(benchmark::State& state) {
    constexpr int kRounds = 3;
    const int frequency = static_cast<int>(state.range(0));
    const auto format = static_cast<int32_t>(state.range(1));
    state.SetLabel(std::string(kFormatNames[format]) + " at code " + std::to_string(frequency));
    const auto folder = std::filesystem::temp_directory_path();
    const std::string path = (folder / "saymgr_generation_bench.snd").string();
    const std::string baselinePath = (folder / "saymgr_generation_baseline.wav").string();
    double baselineAudio = 0;
    EngineSetFrequency(g_setup.host->instance(), frequency);
    // Without acceleration the engine speaks exactly what the baseline speaks.
    EngineSetAccelerationRule(g_setup.host->instance(), 0, 0);
    const Span slowest{1e9, 1e9};
    Span baseline = slowest;
    Span engine = slowest;
    int32_t bytes = 0;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            baseline = fastest(baseline, synthesizeToWave(baselinePath, baselineAudio));
            const Stopwatch stopwatch;
            if (EngineSpeakToFile(g_setup.host->instance(), g_setup.sample.data(),
                                  static_cast<int32_t>(g_setup.sample.size()), path.c_str(), format,
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
    const double audio = engineAudioSeconds(format, frequency, bytes);
    state.counters["audio_ratio"] = audio / baselineAudio;
    state.counters["cpu_ratio_per_audio_s"] =
        (engine.cpuSeconds / audio) / (baseline.cpuSeconds / baselineAudio);
    std::filesystem::remove(path);
    std::filesystem::remove(baselinePath);
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
    saymgrbench::registerAll();
    return saymgrbench::runEngineBenchmarks(argc, argv, saymgrbench::kTextPath, 1,
                                            saymgrbench::g_setup);
}
