// Speaking through the real program and the real engine (device-less sink): the time from the
// Speak command to the first samples reaching the sink (the engine's start notification
// follows them) for a 35 KB and a 1 MB text file, and the process's peak memory while the
// 1 MB file is being spoken. Each run speaks the File source as a user would and is stopped
// once its sound has started (the 1 MB run after a few seconds, for the memory figure).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "binding/enginelibrary.h"
#include "context/commandids.h"
#include "platform/postedmessage.h"
#include "platform/services.h"
#include "shell/program.h"

namespace {

using Clock = std::chrono::steady_clock;

// A program started in a copy of the start-up directory, with its File source set.
class BenchProgram {
  public:
    BenchProgram() : m_folder(std::filesystem::temp_directory_path() / "voxtrial-speak-bench") {
        std::filesystem::remove_all(m_folder);
        std::filesystem::copy(VOXTRIAL_RUNTIME, m_folder, std::filesystem::copy_options::recursive);
        std::filesystem::current_path(m_folder);
        shell::ProgramOptions options;
        options.engine = &m_library.ops();
        options.services = platform::makeDesktopServices(m_folder.string());
        options.userProfile = m_folder / "user.ini";
        m_program = std::make_unique<shell::Program>(std::move(options));
        m_program->start({});
        context::ProgramContext& context = m_program->context();
        m_spokenText = context.engineNotify;
        context.engineNotify = [this](int32_t code, int32_t value1, int32_t value2) {
            onNotify(code, value1, value2);
        };
    }
    ~BenchProgram() {
        m_program.reset();
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }

    std::filesystem::path writeText(std::size_t bytes) const {
        std::ifstream license("/usr/share/common-licenses/GPL-3");
        std::stringstream content;
        content << license.rdbuf();
        std::string text;
        while (text.size() < bytes) {
            text += content.str();
        }
        text.resize(bytes);
        const auto path = m_folder / ("text" + std::to_string(bytes) + ".txt");
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Speaks `path` and returns the seconds from the command to the first sound; the speech
    // is stopped `keepSpeaking` after that.
    double speak(const std::filesystem::path& path, std::chrono::milliseconds keepSpeaking) {
        context::AppState& state = m_program->context().appState;
        state.PlayMode = context::IDM_SOURCEFILE;
        state.FileType = 1;
        state.textFilePath = path.string();
        m_keepSpeaking = keepSpeaking;
        m_started.reset();
        m_commanded = Clock::now();
        platform::sendMessage(m_program->mainWindow(), platform::kCommandEventType,
                              context::IDC_SPEAK);
        return m_started ? std::chrono::duration<double>(*m_started - m_commanded).count() : -1;
    }

  private:
    void onNotify(int32_t code, int32_t value1, int32_t value2) {
        m_spokenText(code, value1, value2);
        if (code == SAYMGR_NOTIFY_START) {
            m_started = Clock::now();
        }
        if (m_started && Clock::now() - *m_started >= m_keepSpeaking) {
            platform::sendMessage(m_program->mainWindow(), platform::kCommandEventType,
                                  context::IDC_STOP);
        }
    }

    std::filesystem::path m_folder;
    binding::EngineLibrary m_library;
    std::unique_ptr<shell::Program> m_program;
    std::function<void(int32_t, int32_t, int32_t)> m_spokenText;
    Clock::time_point m_commanded;
    std::optional<Clock::time_point> m_started;
    std::chrono::milliseconds m_keepSpeaking{0};
};

BenchProgram* g_program = nullptr;
double g_smallLatency = 0;

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void SpeakToFirstAudio(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0));
    const std::filesystem::path path = g_program->writeText(bytes);
    g_program->speak(path, std::chrono::milliseconds(0));  // the first run also loads the voice
    double total = 0;
    for (auto _ : state) {
        const double latency = g_program->speak(path, std::chrono::milliseconds(0));
        total += latency;
        state.SetIterationTime(latency);
    }
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["latency_ms"] = mean * 1000;
    state.counters["ratio_to_20ms"] = mean / 0.020;
    if (bytes < 100'000) {
        g_smallLatency = mean;
    } else if (g_smallLatency > 0) {
        state.counters["ratio_to_35KB"] = mean / g_smallLatency;
    }
}
BENCHMARK(SpeakToFirstAudio)->Arg(35 * 1024)->Arg(1024 * 1024)->UseManualTime()->Iterations(10);

void PeakMemoryOfAMegabyteFile(benchmark::State& state) {
    const std::size_t bytes = 1024 * 1024;
    const std::filesystem::path path = g_program->writeText(bytes);
    for (auto _ : state) {
        g_program->speak(path, std::chrono::seconds(3));
    }
    const double peak = static_cast<double>(peakKilobytes()) * 1024;
    const double limit = 3.0 * static_cast<double>(bytes) + 64.0 * 1024 * 1024;
    state.counters["peak_MiB"] = peak / (1024 * 1024);
    state.counters["ratio_to_limit"] = peak / limit;
}
BENCHMARK(PeakMemoryOfAMegabyteFile)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("SAYMGR_SINK", "null", 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    BenchProgram program;
    g_program = &program;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_program = nullptr;
    return 0;
}
