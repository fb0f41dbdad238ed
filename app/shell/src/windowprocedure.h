#pragma once

#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

class QEvent;
class QWidget;

namespace benchmonitor {
class MonitorWindow;
}

namespace context {
struct ProgramContext;
}

namespace engine {
class VoiceSelection;
}

namespace speech {
struct Speech;
}

namespace shell {

class MainWindow;
class MiniPanel;
class ButtonSet;

// The one window procedure of the main window and the mini panel. It receives every event of
// both windows — commands by identifier, the private messages, the engine's notification
// messages, size, focus, close and window-state changes — does the window-level work itself
// (quitting, the mini panel, help, the title, refreshing the labels) and hands every other
// command to the subsystem that owns it.
class WindowProcedure {
  public:
    using Quit = std::function<void(int exitCode)>;
    // Gives a window of the program the program's shortcut keys.
    using GiveKeys = std::function<void(QWidget& window)>;

    WindowProcedure(context::ProgramContext& program, engine::VoiceSelection& voice,
                    speech::Speech& speech, Quit quit, GiveKeys giveKeys = {});

    // The windows, once they exist; the panel is null in normal mode.
    void attach(MainWindow* mainWindow, MiniPanel* miniPanel);

    // The bench monitor window, once it was opened.
    benchmonitor::MonitorWindow* benchMonitor() const;

    // Returns true when the event was handled, false to leave it to default processing.
    bool handle(QWidget* window, QEvent* event);

    // The creation notification of a window.
    void onCreate(QWidget* window);
    void command(QWidget* window, int commandId);

    // Ends the program on a request from outside (a signal): without asking, after ending any
    // open dialog and stopping any speech, then as the Exit command does.
    void terminate();

    int32_t savedPlayMode() const { return m_savedPlayMode; }
    int32_t pcmStatus() const { return m_pcmStatus; }

  private:
    bool handleWindowEvent(QWidget* window, QEvent* event);
    bool handleMessage(QWidget* window, int number, intptr_t wParam);
    void onFocus(QWidget* window);
    void onSize();
    bool onWindowStateChange(QWidget* window, QEvent* event);
    void onRefresh();
    void onRestoreSelection();
    void onStopEngine(QWidget* window);
    void onTrackbar(QWidget* window, int controlId);
    void onDrawItem(QWidget* window);

    void quitPath(QWidget* window, bool fromExitCommand);
    // The end of the quit path, once the user said yes and nothing is spoken.
    void endProgram(QWidget* window, bool fromExitCommand);
    void showMiniPanel();
    void restoreMainWindow();
    bool inputShowsTypedText() const;
    void openHelp(const QString& path);
    void openLanguageHelp();
    void openTextFile();
    void toggleShowMessage();
    // Shows the bench monitor, created on first use, or raises it when it is open.
    void openBenchMonitor();
    // Runs a modal dialog owned by `window`; the window is the hooks' target again afterwards.
    void runDialog(QWidget* window, const std::function<int(QWidget*)>& dialog);
    bool windowCommand(QWidget* window, int commandId);
    void speechCommand(QWidget* window, int commandId);
    ButtonSet* buttonsOf(QWidget* window) const;

    context::ProgramContext& m_program;
    engine::VoiceSelection& m_voice;
    speech::Speech& m_speech;
    Quit m_quit;
    GiveKeys m_giveKeys;
    // Either window may be gone before the other: the quit path destroys only its own window.
    QPointer<MainWindow> m_mainWindow;
    QPointer<MiniPanel> m_miniPanel;
    QPointer<benchmonitor::MonitorWindow> m_benchMonitor;
    bool m_skipFirstSize = true;
    bool m_ending = false;
    int32_t m_savedPlayMode = 0;
    int32_t m_pcmStatus = 0;
};

}  // namespace shell
