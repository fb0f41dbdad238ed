// Reading and writing the settings at start-up and quit with a 16 MiB settings file (the
// shipped SAYBENCH.INI with blank lines appended up to the size the program accepts), against
// the shipped file alone, in the same run. Targets: a read pass within 1 s, and peak memory at
// most 3 times the file plus 64 MiB.
#include <benchmark/benchmark.h>
#include <saymgr.h>
#include <sys/resource.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/settings.h"
#include "platform/profilefile.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kLargeBytes = 16 * 1024 * 1024;

// The languages the shipped settings file names, as an engine offering all of them reports.
LanguageList shippedLanguages(const std::string& settings) {
    LanguageList list{};
    std::istringstream lines(settings);
    for (std::string line; std::getline(lines, line) && list.count < SAYMGR_MAX_LANGUAGES;) {
        if (line.rfind("Language", 0) != 0 || line.find(',') == std::string::npos ||
            line.find('=') == std::string::npos) {
            continue;
        }
        const std::string name =
            line.substr(line.find('=') + 1, line.find(',') - line.find('=') - 1);
        LanguageEntry& entry = list.entries[list.count];
        entry.languageId = 1000 + list.count;
        std::strncpy(entry.name, name.c_str(), sizeof entry.name - 1);
        ++list.count;
    }
    return list;
}

std::string shippedSettings() {
    std::ifstream in(fs::path(VOXTRIAL_RUNTIME) / "SAYBENCH.INI", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Reads all settings as start-up does, then writes them back as the quit does.
double settingsPass(const fs::path& file, const LanguageList& languages) {
    const auto start = Clock::now();
    platform::ProfileFile settings(file);
    context::AppState state;
    context::LanguageTable table;
    if (engine::ReadSettings(settings, languages, state, table, [] { return true; }) != 0) {
        return -1;
    }
    engine::WriteSettings(settings, state);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void SettingsPass16MiB(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "voxtrial-settings-bench";
    fs::create_directories(folder);
    const std::string shipped = shippedSettings();
    const LanguageList languages = shippedLanguages(shipped);
    const fs::path small = folder / "small.ini";
    const fs::path large = folder / "large.ini";
    std::ofstream(small, std::ios::binary) << shipped;
    std::ofstream(large, std::ios::binary)
        << shipped << std::string(kLargeBytes - shipped.size() - 1, '\n');
    const long before = peakKilobytes();
    double smallSeconds = 0;
    double largeSeconds = 0;
    for (auto _ : state) {
        smallSeconds += settingsPass(small, languages);
        largeSeconds += settingsPass(large, languages);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["large_ms"] = 1000 * largeSeconds / iterations;
    state.counters["small_ms"] = 1000 * smallSeconds / iterations;
    state.counters["peak_growth_MiB"] = static_cast<double>(peakKilobytes() - before) / 1024;
    state.counters["memory_budget_MiB"] = 3.0 * kLargeBytes / (1 << 20) + 64;
    fs::remove_all(folder);
}

BENCHMARK(SettingsPass16MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
