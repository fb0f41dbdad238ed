#include "windowprocedure.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWindowStateChangeEvent>
#include <filesystem>
#include <optional>

#include "about/aboutbox.h"
#include "benchmonitor/monitorwindow.h"
#include "common/codepage.h"
#include "context/commandids.h"
#include "context/programcontext.h"
#include "dictionaries/loaddictionary.h"
#include "dictionaries/unloaddictionariesdialog.h"
#include "engine/engineinfodialog.h"
#include "engine/errorreport.h"
#include "engine/menubar.h"
#include "engine/settings.h"
#include "engine/voiceselection.h"
#include "hooks/accelerationrules.h"
#include "hooks/inputhooks.h"
#include "mainwindow.h"
#include "platform/keyboardstate.h"
#include "platform/postedmessage.h"
#include "platform/profilefile.h"
#include "platform/windowplacement.h"
#include "speech/choosetextfile.h"
#include "speech/keyboardtext.h"
#include "speech/speech.h"
#include "speech/speechmodesheet.h"

namespace shell {

namespace {

using platform::BeepKind;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

// The sound file format a Generate command writes; nothing for another command.
std::optional<int32_t> generatedFormat(int commandId) {
    switch (commandId) {
        case context::IDM_GEN16LINEAR:
            return SAYMGR_FORMAT_LINEAR16;
        case context::IDM_GENMULAW:
            return SAYMGR_FORMAT_MULAW;
        case context::IDM_GENALAW:
            return SAYMGR_FORMAT_ALAW;
        case context::IDM_GEN16WAVE:
            return SAYMGR_FORMAT_WAVE16;
        case context::IDM_GEN8WAVE:
            return SAYMGR_FORMAT_WAVE8;
        default:
            return std::nullopt;
    }
}

bool isIdle(const context::ProgramContext& program) {
    return program.session.speechState == context::SpeechState::Idle;
}

// Sets a frame label's text and paints it now.
void paintFrameText(QLabel& label, const QString& text) {
    label.setText(text);
    label.repaint();
}

// The text-source label for `playMode`; an unknown source shows as File.
QString sourceLabelText(int32_t playMode) {
    switch (playMode) {
        case context::IDM_SOURCEFILE:
            return QStringLiteral(" File    ");
        case context::IDM_SOURCECLIPBOARD:
            return QStringLiteral(" Clipboard");
        case context::IDM_SOURCEKEYBOARD:
            return QStringLiteral(" Keyboard");
        default:
            return QStringLiteral(" File     ");
    }
}

// The source to use for `playMode`: itself when it is one of the three, File otherwise.
int32_t knownSource(int32_t playMode) {
    const bool known = playMode == context::IDM_SOURCEFILE ||
                       playMode == context::IDM_SOURCECLIPBOARD ||
                       playMode == context::IDM_SOURCEKEYBOARD;
    return known ? playMode : context::IDM_SOURCEFILE;
}

}  // namespace

WindowProcedure::WindowProcedure(context::ProgramContext& program, engine::VoiceSelection& voice,
                                 speech::Speech& speech, Quit quit, GiveKeys giveKeys)
    : m_program(program),
      m_voice(voice),
      m_speech(speech),
      m_quit(std::move(quit)),
      m_giveKeys(std::move(giveKeys)) {}

void WindowProcedure::attach(MainWindow* mainWindow, MiniPanel* miniPanel) {
    m_mainWindow = mainWindow;
    m_miniPanel = miniPanel;
}

bool WindowProcedure::handle(QWidget* window, QEvent* event) {
    if (const auto* message = dynamic_cast<const platform::PostedMessage*>(event))
        return handleMessage(window, message->number(), message->wParam());
    return handleWindowEvent(window, event);
}

bool WindowProcedure::handleWindowEvent(QWidget* window, QEvent* event) {
    switch (event->type()) {
        case QEvent::WindowActivate:
            onFocus(window);
            return false;
        case QEvent::Resize:
            if (window == m_mainWindow)
                onSize();
            return false;
        case QEvent::Close:
            event->ignore();
            quitPath(window, false);
            return true;
        case QEvent::WindowStateChange:
            return onWindowStateChange(window, event);
        default:
            return false;
    }
}

bool WindowProcedure::handleMessage(QWidget* window, int number, intptr_t wParam) {
    switch (number) {
        case platform::kCommandEventType:
            command(window, static_cast<int>(wParam & 0xFFFF));
            return true;
        case context::kDrawItemEventType:
            onDrawItem(window);
            return true;
        case context::kHScrollEventType:
            onTrackbar(window, static_cast<int>(wParam));
            return true;
        case context::UM_REFRESH:
            onRefresh();
            return true;
        case context::UM_RESTORESEL:
            speech::selectSavedRange(m_program);
            return true;
        case context::UM_GENPCM:
            m_pcmStatus = m_speech.generation.onGeneratePcm();
            if (wParam != 0)
                // The message's word parameter carries the window to answer, as its sender put it.
                platform::postMessage(
                    reinterpret_cast<QObject*>(wParam),  // NOLINT(performance-no-int-to-ptr)
                    context::UM_GENPCMDONE);
            return true;
        case context::UM_GENPCMIDLE:
        case context::NOTIFY_START:
        case context::NOTIFY_END:
            return true;
        case context::UM_STOPENGINE:
            onStopEngine(window);
            return true;
        case context::NOTIFY_CHUNK:
            m_speech.spokenText.onChunkMessage(static_cast<int32_t>(wParam));
            return true;
        default:
            return false;
    }
}

void WindowProcedure::onCreate(QWidget* window) {
    onFocus(window);
}

void WindowProcedure::onFocus(QWidget* window) {
    platform::postMessage(window, context::UM_REFRESH);
    m_program.hooks.hookTargetWindow = window;
    if (!m_mainWindow || !m_mainWindow->menuBar())
        return;
    for (QSlider* slider : {&m_mainWindow->volume(), &m_mainWindow->pitch(), &m_mainWindow->rate()})
        slider->setRange(1, 9);
}

void WindowProcedure::onSize() {
    if (m_skipFirstSize) {
        m_skipFirstSize = false;
        return;
    }
    if (!m_mainWindow->isMinimized() && m_mainWindow->menuBar())
        m_mainWindow->layout();
}

bool WindowProcedure::onWindowStateChange(QWidget* window, QEvent* event) {
    const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    const Qt::WindowStates now = window->windowState();
    const bool minimised = (now & Qt::WindowMinimized) && !(before & Qt::WindowMinimized);
    const bool maximised = (now & Qt::WindowMaximized) && !(before & Qt::WindowMaximized);
    // The swap runs once the window system has finished the state change it reports.
    if (minimised && window == m_mainWindow && m_program.extendedMode && m_miniPanel) {
        QMetaObject::invokeMethod(
            m_mainWindow.data(), [this] { showMiniPanel(); }, Qt::QueuedConnection);
        return true;
    }
    if (maximised && window == m_miniPanel) {
        QMetaObject::invokeMethod(
            m_miniPanel.data(), [this] { restoreMainWindow(); }, Qt::QueuedConnection);
        return true;
    }
    return false;
}

void WindowProcedure::onRefresh() {
    if (!m_mainWindow || !m_mainWindow->menuBar())
        return;
    context::AppState& state = m_program.appState;
    m_mainWindow->sourceLabel().setText(sourceLabelText(state.PlayMode));
    state.PlayMode = knownSource(state.PlayMode);
    const int slot = state.Language - 1;
    const std::string menuText =
        slot >= 0 && slot < context::kLanguageSlots
            ? m_program.languageTable.text(slot, context::LanguageColumn::MenuText)
            : std::string();
    m_mainWindow->languageLabel().setText(QStringLiteral(" ") +
                                          QString::fromStdString(common::ansiToUtf8(menuText)));
    paintFrameText(m_mainWindow->notice(), QString::fromLatin1(kNoticeText));
    paintFrameText(m_mainWindow->volumeLabel(), QStringLiteral("Volume"));
    paintFrameText(m_mainWindow->pitchLabel(), QStringLiteral("Pitch"));
    paintFrameText(m_mainWindow->rateLabel(), QStringLiteral("Rate"));
}

void WindowProcedure::onStopEngine(QWidget* window) {
    const int32_t status =
        m_program.session.engine->EngineStop(m_program.session.engineInstance, 1);
    if (status != 0)
        engine::ReportError(*m_program.services.messages, window, status);
}

void WindowProcedure::onTrackbar(QWidget* window, int controlId) {
    if (!m_mainWindow || !m_mainWindow->menuBar())
        return;
    QSlider* slider = &m_mainWindow->rate();
    if (controlId == context::IDC_VOLUME)
        slider = &m_mainWindow->volume();
    else if (controlId == context::IDC_PITCH)
        slider = &m_mainWindow->pitch();
    m_voice.trackbarChange(window, slider);
}

void WindowProcedure::onDrawItem(QWidget* window) {
    if (ButtonSet* buttons = buttonsOf(window))
        buttons->redraw();
    platform::postMessage(window, context::UM_REFRESH);
}

ButtonSet* WindowProcedure::buttonsOf(QWidget* window) const {
    if (window == m_mainWindow && m_mainWindow->menuBar())
        return &m_mainWindow->buttons();
    if (window == m_miniPanel)
        return &m_miniPanel->buttons();
    return nullptr;
}

void WindowProcedure::quitPath(QWidget* window, bool fromExitCommand) {
    platform::MessageService& messages = *m_program.services.messages;
    m_program.hooks.hooksSuspended = true;
    messages.beep(BeepKind::Question);
    const MessageResult answer = messages.show(
        window, QStringLiteral("Do you want to quit the Quenvar Voxtrial?"),
        QStringLiteral("Quenvar Voxtrial"), MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageResult::Yes) {
        m_program.hooks.hooksSuspended = false;
        return;
    }
    if (!isIdle(m_program)) {
        messages.show(window, QStringLiteral("Text-to-Speech system is running!"),
                      QStringLiteral("Warning"), MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    endProgram(window, fromExitCommand);
}

void WindowProcedure::terminate() {
    constexpr int kRetryMs = 10;
    if (!m_mainWindow || m_ending) {
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialog->done(QDialog::Rejected);  // its loop ends once control returns to it
        QTimer::singleShot(0, m_mainWindow, [this] { terminate(); });
        return;
    }
    if (!isIdle(m_program)) {
        m_program.session.engine->EngineStop(m_program.session.engineInstance, 1);
        QTimer::singleShot(kRetryMs, m_mainWindow, [this] { terminate(); });
        return;
    }
    endProgram(m_mainWindow, true);
}

void WindowProcedure::endProgram(QWidget* window, bool fromExitCommand) {
    m_ending = true;
    platform::MessageService& messages = *m_program.services.messages;
    const int32_t status = m_program.session.engine->EngineClose(m_program.session.engineInstance);
    if (status != 0)
        engine::ReportError(messages, window, status);
    platform::ProfileFile settings(m_program.paths.settingsPath);
    engine::WriteSettings(settings, m_program.appState);
    if (m_program.extendedMode) {
        if (fromExitCommand)
            hooks::SetWindowSwitchHook(m_program, false);
        platform::releaseControlKey();
    }
    if (m_mainWindow)
        m_mainWindow->buttons().release();
    if (m_program.sound.questionSound)
        m_program.sound.questionSound->giveBack(m_program.sound.savedQuestionSound);
    QObject::connect(window, &QObject::destroyed, [quit = m_quit] { quit(0); });
    window->hide();
    window->deleteLater();
}

void WindowProcedure::showMiniPanel() {
    if (!m_mainWindow || !m_miniPanel)
        return;
    // A window with a modal dialog open takes no commands, minimising included: the panel
    // would hide the dialog with its owner and leave the program waiting for an answer no one
    // can give.
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        m_mainWindow->showNormal();
        dialog->raise();
        dialog->activateWindow();
        return;
    }
    hooks::SetWindowSwitchHook(m_program, true);
    m_mainWindow->hide();
    m_miniPanel->placeOnScreen();
    m_miniPanel->show();
    m_miniPanel->raise();
    m_miniPanel->buttons().button(ButtonSet::kPause).setEnabled(false);
    m_savedPlayMode = m_program.appState.PlayMode;
    if (inputShowsTypedText())
        speech::storeKeyboardText(m_program);
    m_program.appState.PlayMode = context::IDM_SOURCECLIPBOARD;
    m_mainWindow->buttons().release();
    m_speech.commands.onWindowShown(m_miniPanel);
}

void WindowProcedure::restoreMainWindow() {
    if (!m_mainWindow || !m_miniPanel)
        return;
    hooks::SetWindowSwitchHook(m_program, false);
    platform::releaseControlKey();
    m_miniPanel->setWindowState(Qt::WindowNoState);
    m_miniPanel->hide();
    m_mainWindow->showNormal();
    m_mainWindow->update();
    m_mainWindow->activateWindow();
    m_mainWindow->setFocus();
    m_program.appState.PlayMode = m_savedPlayMode;
    if (inputShowsTypedText())
        m_speech.commands.showInputForSource(m_miniPanel);
    m_miniPanel->buttons().release();
    m_speech.commands.onWindowShown(m_mainWindow);
}

// While Speak or Demo runs, the input window shows the spoken text: the typed text was kept
// when it began and comes back when it ends.
bool WindowProcedure::inputShowsTypedText() const {
    return m_speech.requests.kind() != speech::SpeechRequests::Kind::Speak;
}

void WindowProcedure::command(QWidget* window, int commandId) {
    if (windowCommand(window, commandId) || m_voice.handleCommand(window, commandId))
        return;
    speechCommand(window, commandId);
}

bool WindowProcedure::windowCommand(QWidget* window, int commandId) {
    switch (commandId) {
        case context::IDM_OPEN:
            openTextFile();
            return true;
        case context::IDM_EXIT:
            quitPath(window, true);
            return true;
        case context::IDM_LOADDICT:
            dictionaries::loadDictionaryCommand(m_program, window);
            return true;
        case context::IDM_UNLOADDICT:
            dictionaries::unloadDictionaryCommand(m_program, window);
            return true;
        case context::IDM_SYSTEMMODE:
            speech::ShowSpeechModeSheet(m_program.choices, m_program.session, m_mainWindow);
            return true;
        case context::IDM_HELPCONTENTS:
            openHelp(QString::fromStdString(m_program.paths.helpPath));
            return true;
        case context::IDM_LANGHELP:
            openLanguageHelp();
            return true;
        case context::IDM_ABOUT:
            runDialog(window,
                      [this](QWidget* owner) { return about::showAboutBox(m_program, owner); });
            return true;
        case context::IDM_ABOUTENGINE:
            runDialog(window, [this](QWidget* owner) {
                return engine::aboutEngineDialog(m_program.appState, m_program.session, owner);
            });
            return true;
        case context::IDM_SETACCEL:
            runDialog(window, [this](QWidget* owner) {
                return hooks::setAccelerationRules(m_program.session, owner);
            });
            return true;
        case context::IDM_SHOWMESSAGE:
            toggleShowMessage();
            return true;
        case context::IDM_BENCHMONITOR:
            openBenchMonitor();
            return true;
        default:
            if (const std::optional<int32_t> format = generatedFormat(commandId)) {
                m_speech.generation.onGenerateCommand(m_mainWindow, *format);
                return true;
            }
            return false;
    }
}

void WindowProcedure::openLanguageHelp() {
    if (!m_program.appState.languageHelpPath.empty()) {
        const std::filesystem::path path = std::filesystem::path(m_program.paths.startupDirectory) /
                                           m_program.appState.languageHelpPath;
        openHelp(QString::fromStdString(path.string()));
    }
}

void WindowProcedure::speechCommand(QWidget* window, int commandId) {
    switch (commandId) {
        case context::IDC_SPEAK:
            m_speech.commands.onSpeak(window);
            break;
        case context::IDC_ABOUTSPEAK:
            m_speech.commands.onAboutSpeak(window);
            break;
        case context::IDC_PAUSE:
            m_speech.commands.onPause(window);
            break;
        case context::IDC_STOP:
            m_speech.commands.onStop(window);
            break;
        case context::IDC_DEMO:
            m_speech.commands.onDemo(window);
            break;
        case context::IDM_SOURCEFILE:
        case context::IDM_SOURCECLIPBOARD:
        case context::IDM_SOURCEKEYBOARD:
            m_speech.commands.onSource(window, commandId);
            break;
        default:
            break;
    }
}

benchmonitor::MonitorWindow* WindowProcedure::benchMonitor() const {
    return m_benchMonitor;
}

void WindowProcedure::openBenchMonitor() {
    const bool opening = !m_benchMonitor;
    if (opening) {
        m_benchMonitor = new benchmonitor::MonitorWindow(m_program, m_mainWindow);
        // A tool window of the program: the function keys still command the main window.
        if (m_giveKeys)
            m_giveKeys(*m_benchMonitor);
    }
    m_benchMonitor->show();
    if (opening)
        platform::placeBeside(*m_benchMonitor, *m_mainWindow);
    m_benchMonitor->raise();
    m_benchMonitor->activateWindow();
}

void WindowProcedure::runDialog(QWidget* window, const std::function<int(QWidget*)>& dialog) {
    dialog(window);
    hooks::SetHookTargetWindow(m_program, window);
}

void WindowProcedure::openHelp(const QString& path) {
    QWidget* owner = QApplication::activeWindow();
    if (m_program.services.help->show(owner ? owner : m_mainWindow.data(), path))
        return;
    m_program.services.messages->beep(BeepKind::Information);
    m_program.services.messages->show(owner, QStringLiteral("Help not available!"),
                                      QStringLiteral("Help"), MessageIcon::Stop,
                                      MessageButtons::Ok);
}

void WindowProcedure::openTextFile() {
    const std::optional<std::string> path = speech::ChooseTextFile(m_program, m_mainWindow);
    if (!path)
        return;
    m_program.appState.textFilePath = *path;
    const std::filesystem::path chosen(*path);
    m_mainWindow->setWindowTitle(QStringLiteral("Quenvar Voxtrial - %1%2")
                                     .arg(QString::fromStdString(chosen.stem().string()),
                                          QString::fromStdString(chosen.extension().string())));
    m_program.appState.FileType = 1;
}

void WindowProcedure::toggleShowMessage() {
    context::AppState& state = m_program.appState;
    state.TextOut = state.TextOut == 0 ? 1 : 0;
    if (m_program.controls.menuBar)
        m_program.controls.menuBar->setChecked(context::IDM_SHOWMESSAGE, state.TextOut == 1);
}

}  // namespace shell
