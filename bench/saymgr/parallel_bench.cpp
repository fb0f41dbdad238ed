// Writing GPL-3 into a 16-bit wave file at 11.025 kHz with 1 and 2 worker processes, against
// `espeak-ng -w` writing its own 22.05 kHz wave of the same text, and against two espeak-ng
// processes on the text's halves (what this machine gives two processes at best), all in the
// same run, each the fastest of three. Then a 1 MB text, for the peak memory of the host and of its
// workers.
//   wall_ratio_to_espeak     the engine's wall time / espeak-ng's (target with 2 jobs: 0.6)
//   cpu_per_audio_ratio      the engine's CPU per second of sound / espeak-ng's (target 1.15)
//   wall_ratio_to_halves     the engine's wall time / the two half processes'
//   host_peak_mib, worker_peak_mib, and their ratios to 64 and 32 MiB
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "benchsupport.h"
#include "saymgr_ext.h"

extern char** environ;

namespace saymgrbench {
namespace {

const char* const kTextPath = "/usr/share/common-licenses/GPL-3";
BenchSetup g_setup;

struct Run {
    Span span;
    double audioSeconds = 0;
};

Run g_espeak;
Run g_halves;

// The fastest of three runs of `once` (which answers false when it failed), so that a moment
// of load on the machine does not decide.
template <typename Once>
bool fastestOfThree(Span& fastest, Once once) {
    fastest = {1e9, 1e9};
    for (int round = 0; round < 3; ++round) {
        const Stopwatch stopwatch;
        if (!once()) {
            return false;
        }
        const Span span = stopwatch.elapsed();
        fastest = {std::min(fastest.wallSeconds, span.wallSeconds),
                   std::min(fastest.cpuSeconds, span.cpuSeconds)};
    }
    return true;
}

double waveSeconds(const std::string& path, int rate) {
    std::error_code error;
    const auto bytes = static_cast<double>(std::filesystem::file_size(path, error));
    return error ? 0 : (bytes - 44) / 2 / rate;
}

// Starts espeak-ng writing `text` to `wave`; 0 when it cannot be started.
pid_t startEspeak(const std::string& text, const std::string& wave) {
    std::vector<std::string> arguments{"espeak-ng", "-w", wave, "-f", text};
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    pid_t child = 0;
    return posix_spawnp(&child, "espeak-ng", nullptr, nullptr, pointers.data(), environ) == 0
               ? child
               : 0;
}

bool waitFor(pid_t child) {
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

std::string writeFile(const std::string& name, const std::string& text) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

void EspeakNgAlone(benchmark::State& state) {
    const std::string wave = writeFile("parallel_bench_espeak.wav", "");
    for (auto _ : state) {
        if (!fastestOfThree(g_espeak.span, [&] { return waitFor(startEspeak(kTextPath, wave)); })) {
            state.SkipWithError("espeak-ng could not run");
            return;
        }
        state.SetIterationTime(g_espeak.span.wallSeconds);
    }
    g_espeak.audioSeconds = waveSeconds(wave, 22050);
    state.counters["audio_s"] = g_espeak.audioSeconds;
}

void EspeakNgOnHalves(benchmark::State& state) {
    const std::string& text = g_setup.sample;
    const std::size_t middle = text.find("\n\n", text.size() / 2);
    const std::string first = writeFile("parallel_bench_a.txt", text.substr(0, middle));
    const std::string second = writeFile("parallel_bench_b.txt", text.substr(middle));
    for (auto _ : state) {
        const auto both = [&] {
            const pid_t a = startEspeak(first, first + ".wav");
            const pid_t b = startEspeak(second, second + ".wav");
            return waitFor(a) && waitFor(b);
        };
        if (!fastestOfThree(g_halves.span, both)) {
            state.SkipWithError("espeak-ng could not run");
            return;
        }
        state.SetIterationTime(g_halves.span.wallSeconds);
    }
    state.counters["wall_ratio_to_espeak"] = g_halves.span.wallSeconds / g_espeak.span.wallSeconds;
}

void EngineWithJobs(benchmark::State& state) {
    const auto jobs = static_cast<int32_t>(state.range(0));
    const int32_t instance = g_setup.host->instance();
    SaymgrSetJobs(instance, jobs);
    EngineSetFrequency(instance, SAYMGR_FREQ_11025);
    const std::string wave = writeFile("parallel_bench_engine.wav", "");
    Span span;
    for (auto _ : state) {
        const auto generate = [&] {
            int32_t bytes = 0;
            return EngineSpeakToFile(instance, g_setup.sample.data(),
                                     static_cast<int32_t>(g_setup.sample.size()), wave.c_str(),
                                     SAYMGR_FORMAT_WAVE16, SAYMGR_TEXT_ANSI, 0, &bytes) == 0;
        };
        if (!fastestOfThree(span, generate)) {
            state.SkipWithError("generation failed");
            return;
        }
        state.SetIterationTime(span.wallSeconds);
    }
    const double audio = waveSeconds(wave, 11025);
    state.counters["wall_ratio_to_espeak"] = span.wallSeconds / g_espeak.span.wallSeconds;
    state.counters["wall_ratio_to_halves"] = span.wallSeconds / g_halves.span.wallSeconds;
    state.counters["cpu_per_audio_ratio"] =
        (span.cpuSeconds / audio) / (g_espeak.span.cpuSeconds / g_espeak.audioSeconds);
    state.counters["audio_s"] = audio;
}

double peakMib(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

// Registered first, so that the host's peak is this text's: about 18 hours of sound, written
// as raw samples into /dev/null.
void MegabyteText(benchmark::State& state) {
    const int32_t instance = g_setup.host->instance();
    SaymgrSetJobs(instance, 0);
    const std::string text = repeatedTo(g_setup.sample, 1 << 20);
    for (auto _ : state) {
        const Stopwatch stopwatch;
        int32_t bytes = 0;
        if (EngineSpeakToFile(instance, text.data(), static_cast<int32_t>(text.size()), "/dev/null",
                              SAYMGR_FORMAT_LINEAR16, SAYMGR_TEXT_ANSI, 0, &bytes) != 0) {
            state.SkipWithError("generation failed");
            return;
        }
        state.SetIterationTime(stopwatch.elapsed().wallSeconds);
    }
    state.counters["host_peak_mib"] = peakMib(RUSAGE_SELF);
    state.counters["worker_peak_mib"] = peakMib(RUSAGE_CHILDREN);
    state.counters["host_ratio_to_64mib"] = peakMib(RUSAGE_SELF) / 64;
    state.counters["worker_ratio_to_32mib"] = peakMib(RUSAGE_CHILDREN) / 32;
}

void registerAll() {
    const auto once = [](benchmark::internal::Benchmark* benchmark) {
        benchmark->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    };
    once(benchmark::RegisterBenchmark("MegabyteText", MegabyteText));
    once(benchmark::RegisterBenchmark("EspeakNgAlone", EspeakNgAlone));
    once(benchmark::RegisterBenchmark("EspeakNgOnHalves", EspeakNgOnHalves));
    for (const int jobs : {1, 2}) {
        once(benchmark::RegisterBenchmark("EngineWithJobs", EngineWithJobs)->Arg(jobs));
    }
}

}  // namespace
}  // namespace saymgrbench

int main(int argc, char** argv) {
    saymgrbench::registerAll();
    return saymgrbench::runEngineBenchmarks(argc, argv, saymgrbench::kTextPath, 1,
                                            saymgrbench::g_setup);
}
