#pragma once

#include <QPointer>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "context/programcontext.h"
#include "platform/instancelock.h"
#include "platform/qthostthread.h"

namespace engine {
class VoiceSelection;
struct VoiceSelectionHooks;
}  // namespace engine

namespace resources {
struct Accelerator;
}

namespace speech {
class EngineCallback;
struct Speech;
}  // namespace speech

namespace shell {

class MainWindow;
class MiniPanel;
class WindowControls;
class WindowProcedure;

// What a program is started with besides its command line: the engine's operation table and
// monitoring extensions (null for an engine without them), the platform services and the
// user's own profile (where the question sound is set).
struct ProgramOptions {
    const binding::EngineOps* engine = nullptr;
    const binding::EngineExtensions* extensions = nullptr;
    platform::Services services;
    std::filesystem::path userProfile;
};

// One run of Voxtrial: start-up in the current directory, the windows, the message loop and the
// exit code. start() prepares everything up to the loop; exec() runs the loop until the main
// window is gone. A test builds one with a fake engine and recording services, drives its
// windows after start() and lets the quit path end it.
class Program {
  public:
    explicit Program(ProgramOptions options);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The exit code of a start that failed, or nothing when the loop is ready to run.
    std::optional<int> start(const std::string& commandLine);
    int exec();
    int run(const std::string& commandLine);

    context::ProgramContext& context() { return m_context; }
    MainWindow* mainWindow() const;
    MiniPanel* miniPanel() const;
    WindowProcedure& procedure() const { return *m_procedure; }
    // Ends a running program as its Exit command does, without asking (a signal's request).
    void terminate();
    // Whether the quit path has ended the program, and with which code.
    bool hasEnded() const { return m_ended; }
    int exitCode() const { return m_exitCode; }

    static constexpr char kExtendedModeWord[] = "SAYRUN";
    static bool isExtendedMode(const std::string& commandLine);

  private:
    bool isAnotherProgramRunning();
    engine::VoiceSelectionHooks voiceHooks();
    bool createMainWindow();
    // Makes the main window's controls known to the other subsystems.
    void bindControls();
    void armQuestionSound();
    void installAccelerators();
    void installAcceleratorsOn(QWidget& window);
    void installAccelerator(QWidget* window, const resources::Accelerator& entry);
    void onQuit(int exitCode);

    context::ProgramContext m_context;
    std::unique_ptr<WindowControls> m_windowControls;
    std::unique_ptr<speech::Speech> m_speech;
    platform::QtHostThread m_hostThread;
    std::unique_ptr<platform::InstanceLock> m_instanceLock;
    std::unique_ptr<engine::VoiceSelection> m_voice;
    std::unique_ptr<WindowProcedure> m_procedure;
    std::unique_ptr<speech::EngineCallback> m_engineCallback;
    QPointer<MainWindow> m_mainWindow;
    QPointer<MiniPanel> m_miniPanel;
    bool m_pauseShowsResume = false;
    bool m_ended = false;
    bool m_looping = false;
    int m_exitCode = 0;
};

}  // namespace shell
