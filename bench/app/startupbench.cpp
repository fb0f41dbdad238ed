// Time from process start to the message loop running, for the real program with the real
// engine (null sink), under a private Xvfb.
//
// The bench watches the X server's root window. When the program maps its main window, the
// bench asks that window to close (WM_DELETE_WINDOW, as a window manager's close button does).
// Only the running event loop handles that request, and the program answers it by mapping its
// quit question; the time is taken from just before the process is spawned to the mapping of
// that question. It is therefore an upper bound of the time to the loop running: it includes
// handling the close request and building and mapping one message box. The baseline is
// spawning and reaping /bin/true the same way.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr double kBudgetMs = 300.0;

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
            const std::string& directory) {
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<char*> env;
    for (const std::string& entry : environment)
        env.push_back(const_cast<char*>(entry.c_str()));
    env.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!directory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + argv[0]);
    return pid;
}

void stop(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// A private X server on a free display, stopped with the object.
class XServer {
  public:
    XServer() {
        for (int n = 300; n < 400 && m_pid < 0; ++n) {
            if (fs::exists("/tmp/.X11-unix/X" + std::to_string(n)) ||
                fs::exists("/tmp/.X" + std::to_string(n) + "-lock"))
                continue;
            m_display = std::string(":").append(std::to_string(n));
            m_pid = spawn({VOXTRIAL_XVFB, m_display, "-screen", "0", "1024x768x24", "-noreset",
                           "-nolisten", "tcp"},
                          currentEnvironment(), {});
        }
        for (int attempt = 0; attempt < 100 && !m_ready; ++attempt) {
            xcb_connection_t* probe = xcb_connect(m_display.c_str(), nullptr);
            m_ready = xcb_connection_has_error(probe) == 0;
            xcb_disconnect(probe);
            if (!m_ready)
                usleep(50'000);
        }
        if (!m_ready)
            throw std::runtime_error("Xvfb did not start");
    }
    ~XServer() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& display() const { return m_display; }

    static std::vector<std::string> currentEnvironment() {
        std::vector<std::string> env;
        for (char** entry = environ; *entry; ++entry)
            env.emplace_back(*entry);
        return env;
    }

  private:
    pid_t m_pid = -1;
    std::string m_display;
    bool m_ready = false;
};

// Watches the root window for the first mapped window and the window it maps in answer to a
// close request.
class LoopProbe {
  public:
    explicit LoopProbe(const std::string& display)
        : m_connection(xcb_connect(display.c_str(), nullptr)) {
        if (xcb_connection_has_error(m_connection))
            throw std::runtime_error("cannot connect to " + display);
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        m_protocols = atom("WM_PROTOCOLS");
        m_deleteWindow = atom("WM_DELETE_WINDOW");
        xcb_flush(m_connection);
    }
    ~LoopProbe() { xcb_disconnect(m_connection); }

    // Waits until a window is mapped and a second one answers its close request; false after
    // `timeoutMs`.
    bool waitForLoop(int timeoutMs) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool answered = handle(event);
                std::free(event);
                if (answered)
                    return true;
            }
            pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            poll(&fd, 1, 5);
        }
        return false;
    }

  private:
    xcb_atom_t atom(const char* name) {
        auto cookie = xcb_intern_atom(m_connection, 0, std::strlen(name), name);
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(m_connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    bool handle(const xcb_generic_event_t* event) {
        if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
            return false;
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
        if (map->override_redirect)
            return false;
        if (m_mainWindow == 0) {
            m_mainWindow = map->window;
            requestClose(map->window);
            return false;
        }
        return map->window != m_mainWindow;
    }

    void requestClose(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = m_protocols;
        message.data.data32[0] = m_deleteWindow;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(m_connection);
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    xcb_atom_t m_protocols = XCB_ATOM_NONE;
    xcb_atom_t m_deleteWindow = XCB_ATOM_NONE;
    xcb_window_t m_mainWindow = 0;
};

// A fresh copy of the start-up directory and a private user configuration folder.
class StartupDirectory {
  public:
    StartupDirectory() {
        char pattern[] = "/tmp/voxtrial-bench-XXXXXX";
        m_root = mkdtemp(pattern);
        fs::copy(VOXTRIAL_RUNTIME, m_root / "run", fs::copy_options::recursive);
        fs::create_directories(m_root / "config");
        fs::create_directories(m_root / "xdg-runtime");
        fs::permissions(m_root / "xdg-runtime", fs::perms::owner_all);
    }
    ~StartupDirectory() {
        std::error_code error;
        fs::remove_all(m_root, error);
    }
    fs::path run() const { return m_root / "run"; }
    fs::path config() const { return m_root / "config"; }
    fs::path xdgRuntime() const { return m_root / "xdg-runtime"; }

  private:
    fs::path m_root;
};

XServer& server() {
    static XServer instance;
    return instance;
}

void BM_ProcessSpawnBaseline(benchmark::State& state) {
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const pid_t pid = spawn({"/bin/true"}, XServer::currentEnvironment(), {});
        waitpid(pid, nullptr, 0);
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        totalMs += elapsed.count() * 1000.0;
    }
    state.counters["ms"] = totalMs / static_cast<double>(state.iterations());
}

void BM_StartupToMessageLoop(benchmark::State& state) {
    double totalMs = 0;
    const pid_t baseline = spawn({"/bin/true"}, XServer::currentEnvironment(), {});
    waitpid(baseline, nullptr, 0);
    for (auto _ : state) {
        state.PauseTiming();
        StartupDirectory directory;
        LoopProbe probe(server().display());
        std::vector<std::string> env = XServer::currentEnvironment();
        env.push_back("DISPLAY=" + server().display());
        env.push_back("QT_QPA_PLATFORM=xcb");
        env.push_back("SAYMGR_SINK=null");
        env.push_back("XDG_CONFIG_HOME=" + directory.config().string());
        env.push_back("XDG_RUNTIME_DIR=" + directory.xdgRuntime().string());
        state.ResumeTiming();

        const auto start = Clock::now();
        const pid_t pid = spawn({VOXTRIAL_PROGRAM}, env, directory.run().string());
        const bool running = probe.waitForLoop(10'000);
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        stop(pid);
        if (!running) {
            state.SkipWithError("the program did not answer a close request within 10 s");
            break;
        }
        state.SetIterationTime(elapsed.count());
        totalMs += elapsed.count() * 1000.0;
    }
    const double meanMs = totalMs / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.counters["ms"] = meanMs;
    state.counters["ratio_to_300ms_budget"] = meanMs / kBudgetMs;
}

}  // namespace

BENCHMARK(BM_ProcessSpawnBaseline)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupToMessageLoop)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

BENCHMARK_MAIN();
