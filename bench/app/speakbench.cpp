// Speaking through the real program and the real engine (device-less sink): the time from the
// Speak command to the first samples reaching the sink (the engine's start notification
// follows them) for a 35 KB and a 1 MB text file, and the process's peak memory while the
// 1 MB file is being spoken. Each run speaks the File source as a user would and is stopped
// once its sound has started (the 1 MB run after a few seconds, for the memory figure).
// Then generating a 16-bit wave of the 35 KB file through the program, against voxtrial-cli
// writing the same file in the same run. Last, the process's CPU time while speaking for a few
// seconds with the bench monitor open, against the same with it closed.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <ctime>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "benchmonitor/monitorwindow.h"
#include "binding/enginelibrary.h"
#include "context/commandids.h"
#include "mainwindow.h"
#include "platform/heappolicy.h"
#include "platform/postedmessage.h"
#include "platform/services.h"
#include "shell/program.h"
#include "windowprocedure.h"

namespace {

using Clock = std::chrono::steady_clock;

// The save dialog of a generation, answered with a path set beforehand.
class FixedSaveDialog : public platform::FileDialogService {
  public:
    std::optional<QString> openFile(QWidget*, const QString&, const QString&,
                                    const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFile(QWidget*, const QString&, const QString&,
                                    const QString&) override {
        return m_path;
    }
    void answer(const std::filesystem::path& path) { m_path = QString::fromStdString(path); }

  private:
    QString m_path;
};

// A program started in a copy of the start-up directory, with its File source set.
class BenchProgram {
  public:
    BenchProgram() : m_folder(std::filesystem::temp_directory_path() / "voxtrial-speak-bench") {
        std::filesystem::remove_all(m_folder);
        std::filesystem::copy(VOXTRIAL_RUNTIME, m_folder, std::filesystem::copy_options::recursive);
        std::filesystem::current_path(m_folder);
        shell::ProgramOptions options;
        options.engine = &m_library.ops();
        options.extensions = &m_library.extensions();
        options.services = platform::makeDesktopServices(m_folder.string());
        auto saveDialog = std::make_unique<FixedSaveDialog>();
        m_saveDialog = saveDialog.get();
        options.services.fileDialogs = std::move(saveDialog);
        options.userProfile = m_folder / "user.ini";
        m_program = std::make_unique<shell::Program>(std::move(options));
        m_program->start("SAYRUN");
        context::ProgramContext& context = m_program->context();
        m_spokenText = context.session.engineNotify;
        context.session.engineNotify = [this](int32_t code, int32_t value1, int32_t value2) {
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
        m_speaking = true;
        platform::sendMessage(m_program->mainWindow(), platform::kCommandEventType,
                              context::IDC_SPEAK);
        m_speaking = false;
        return m_started ? std::chrono::duration<double>(*m_started - m_commanded).count() : -1;
    }

    // Writes `text` as a 16-bit wave at 11.025 kHz through the GenFile command.
    void generate(const std::filesystem::path& text, const std::filesystem::path& wave) {
        context::ProgramContext& context = m_program->context();
        context.appState.PlayMode = context::IDM_SOURCEFILE;
        context.appState.FileType = 1;
        context.appState.textFilePath = text.string();
        m_saveDialog->answer(wave);
        platform::sendMessage(m_program->mainWindow(), platform::kCommandEventType,
                              context::IDM_GEN16WAVE);
    }

    // Opens the bench monitor (through its command) and lets it draw itself, or closes it:
    // opening is a one-off cost, not one of speaking, so its paints end before a run begins.
    void showMonitor(bool open) {
        if (open) {
            platform::sendMessage(m_program->mainWindow(), platform::kCommandEventType,
                                  context::IDM_BENCHMONITOR);
            QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        } else if (QWidget* monitor = m_program->procedure().benchMonitor()) {
            monitor->close();
        }
    }

    const std::filesystem::path& folder() const { return m_folder; }

  private:
    void onNotify(int32_t code, int32_t value1, int32_t value2) {
        m_spokenText(code, value1, value2);
        if (code == SAYMGR_NOTIFY_START) {
            m_started = Clock::now();
        }
        if (m_speaking && m_started && Clock::now() - *m_started >= m_keepSpeaking) {
            platform::sendMessage(m_program->mainWindow(), platform::kCommandEventType,
                                  context::IDC_STOP);
        }
    }

    std::filesystem::path m_folder;
    binding::EngineLibrary m_library;
    std::unique_ptr<shell::Program> m_program;
    FixedSaveDialog* m_saveDialog = nullptr;
    std::function<void(int32_t, int32_t, int32_t)> m_spokenText;
    Clock::time_point m_commanded;
    std::optional<Clock::time_point> m_started;
    std::chrono::milliseconds m_keepSpeaking{0};
    bool m_speaking = false;
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

double g_cliSeconds = 0;

// voxtrial-cli writes the same file from the same text, from process start to exit.
void GenerateWithTheCli(benchmark::State& state) {
    const std::filesystem::path text = g_program->writeText(35 * 1024);
    const std::string textPath = text.string();
    const std::string wave = (g_program->folder() / "cli.wav").string();
    const char* arguments[] = {VOXTRIAL_CLI, "--file", textPath.c_str(), "--generate", wave.c_str(),
                               "--format",   "wav16",  "--frequency",    "11",         nullptr};
    double total = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        pid_t child = 0;
        posix_spawn(&child, VOXTRIAL_CLI, nullptr, nullptr, const_cast<char**>(arguments), environ);
        int status = 0;
        waitpid(child, &status, 0);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        total += seconds;
        state.SetIterationTime(seconds);
    }
    g_cliSeconds = total / static_cast<double>(state.iterations());
}
BENCHMARK(GenerateWithTheCli)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void GenerateThroughTheProgram(benchmark::State& state) {
    const std::filesystem::path text = g_program->writeText(35 * 1024);
    const std::filesystem::path wave = g_program->folder() / "program.wav";
    double total = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        g_program->generate(text, wave);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        total += seconds;
        state.SetIterationTime(seconds);
    }
    const double mean = total / static_cast<double>(state.iterations());
    std::error_code error;
    state.counters["wave_bytes"] = static_cast<double>(std::filesystem::file_size(wave, error));
    if (g_cliSeconds > 0) {
        state.counters["ratio_to_cli"] = mean / g_cliSeconds;
    }
}
BENCHMARK(GenerateThroughTheProgram)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The CPU the GUI thread spent, in seconds: the thread that runs the monitor's model, its
// refreshes and its paints (and that delivers the engine's notifications and tapped audio).
double guiThreadCpuSeconds() {
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

// What one run of speaking cost: CPU seconds of the process and of the GUI thread, and the
// seconds of speech.
struct RunCost {
    double process = 0;
    double guiThread = 0;
    double speech = 0;
};

RunCost speakFourSeconds(const std::filesystem::path& path) {
    const double process = cpuSeconds();
    const double guiThread = guiThreadCpuSeconds();
    const Clock::time_point start = Clock::now();
    g_program->speak(path, std::chrono::seconds(4));
    return {cpuSeconds() - process, guiThreadCpuSeconds() - guiThread,
            std::chrono::duration<double>(Clock::now() - start).count()};
}

// The CPU of speaking the 35 KB file for four seconds with the bench monitor open, against the
// same with it closed, in pairs whose order alternates (closed first, then open first). The
// machine's speed drifts over a run, so the monitor's cost is the median of the differences
// within the pairs, which see the same machine. The target is per second of speech and counts
// the GUI thread, where all of the monitor's work is done; the engine's threads synthesize the
// same speech in both runs, and their scatter (a few ms a run) would hide the monitor's cost.
// The process-wide difference is reported beside it. The time reported is the open runs'.
void SpeakingCpuWithMonitorOpen(benchmark::State& state) {
    const std::filesystem::path path = g_program->writeText(35 * 1024);
    std::vector<double> closedProcess;
    std::vector<double> extraProcess;
    std::vector<double> guiPerSecond;
    std::vector<double> processPerSecond;
    for (auto _ : state) {
        const bool openFirst = closedProcess.size() % 2 == 1;
        RunCost cost[2];
        for (const bool monitor : {openFirst, !openFirst}) {
            g_program->showMonitor(monitor);
            cost[monitor ? 1 : 0] = speakFourSeconds(path);
        }
        const RunCost& closed = cost[0];
        const RunCost& open = cost[1];
        closedProcess.push_back(closed.process);
        extraProcess.push_back(open.process - closed.process);
        guiPerSecond.push_back((open.guiThread - closed.guiThread) / open.speech);
        processPerSecond.push_back((open.process - closed.process) / open.speech);
        state.SetIterationTime(open.process);
    }
    g_program->showMonitor(false);
    constexpr double kTargetMsPerSecond = 2.0;
    const double msPerSecond = median(guiPerSecond) * 1000;
    state.counters["closed_cpu_ms"] = median(closedProcess) * 1000;
    state.counters["monitor_cpu_ms"] = median(extraProcess) * 1000;
    state.counters["monitor_ms_per_speech_s"] = msPerSecond;
    state.counters["process_ms_per_speech_s"] = median(processPerSecond) * 1000;
    state.counters["ratio_to_2ms_per_s"] = msPerSecond / kTargetMsPerSecond;
    state.counters["ratio_to_closed"] = 1 + median(extraProcess) / median(closedProcess);
}
BENCHMARK(SpeakingCpuWithMonitorOpen)
    ->UseManualTime()
    ->Iterations(12)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("SAYMGR_SINK", "null", 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::keepFreedMemoryForReuse();  // as the program's main() does
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
