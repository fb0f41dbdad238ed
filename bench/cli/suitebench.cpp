// voxtrial-cli suite check on a 1,000-case English suite, against the baseline of rendering the
// same cases one after another with voxtrial-cli, a process each. SUITE_BENCH_CASES sets
// another number of cases.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Runs voxtrial-cli with `arguments`, its output thrown away; its exit status.
int runCli(const std::vector<std::string>& arguments) {
    std::vector<std::string> words{VOXTRIAL_CLI};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, VOXTRIAL_CLI, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) < 0 || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// The starter corpus's English cases, again and again with other numbers, up to `count`.
std::vector<std::string> suiteCases(std::size_t count) {
    std::vector<std::string> starter;
    std::ifstream in(VOXTRIAL_STARTER);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') {
            starter.push_back(line);
        }
    }
    std::vector<std::string> cases;
    for (std::size_t round = 0; cases.size() < count; ++round) {
        for (std::size_t i = 0; i < starter.size() && cases.size() < count; ++i) {
            cases.push_back(round == 0 ? starter[i]
                                       : starter[i] + " Round " + std::to_string(round) + ".");
        }
    }
    return cases;
}

// A folder with the suite and its reference, made once for both benchmarks.
class SuiteBench {
  public:
    SuiteBench() {
        std::string pattern = (fs::temp_directory_path() / "voxtrial-suite-bench-XXXXXX").string();
        m_folder = mkdtemp(pattern.data());
        const char* given = std::getenv("SUITE_BENCH_CASES");
        m_cases = suiteCases(given != nullptr ? std::stoul(given) : 1000);
        std::ofstream suite(m_folder / "bench.txt");
        for (const std::string& text : m_cases) {
            suite << text << '\n';
        }
    }
    ~SuiteBench() { fs::remove_all(m_folder); }
    SuiteBench(const SuiteBench&) = delete;
    SuiteBench& operator=(const SuiteBench&) = delete;

    const fs::path& folder() const { return m_folder; }
    const std::vector<std::string>& cases() const { return m_cases; }

  private:
    fs::path m_folder;
    std::vector<std::string> m_cases;
};

SuiteBench* g_bench = nullptr;
double g_oneAfterAnother = 0;

double secondsOf(const std::function<void()>& work) {
    const Clock::time_point start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Each case written into a 16-bit wave at 11.025 kHz by a voxtrial-cli of its own.
void RenderOneAfterAnother(benchmark::State& state) {
    const std::string wave = (g_bench->folder() / "case.wav").string();
    for (auto _ : state) {
        g_oneAfterAnother = secondsOf([&] {
            for (const std::string& text : g_bench->cases()) {
                runCli({"--text", text, "--generate", wave, "--format", "4", "--frequency", "11"});
            }
        });
        state.SetIterationTime(g_oneAfterAnother);
    }
    state.counters["cases"] = static_cast<double>(g_bench->cases().size());
}
BENCHMARK(RenderOneAfterAnother)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

// The suite checked against a reference of its own, with the default jobs (one per core).
void CheckTheSuite(benchmark::State& state) {
    const std::string suite = (g_bench->folder() / "bench.txt").string();
    const std::string reference = (g_bench->folder() / "reference").string();
    runCli({"suite", "record", suite, "--reference", reference, "--no-progress"});
    int status = -1;
    for (auto _ : state) {
        const double seconds = secondsOf([&] {
            status = runCli({"suite", "check", suite, "--reference", reference, "--no-progress"});
        });
        state.SetIterationTime(seconds);
        if (g_oneAfterAnother > 0) {
            state.counters["ratio_to_one_after_another"] = seconds / g_oneAfterAnother;
            state.counters["ratio_to_0.6"] = seconds / g_oneAfterAnother / 0.6;
        }
    }
    state.counters["exit_status"] = status;
}
BENCHMARK(CheckTheSuite)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    SuiteBench bench;
    g_bench = &bench;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
