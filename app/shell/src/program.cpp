#include "shell/program.h"

#include <QCoreApplication>
#include <QShortcut>

#include "context/commandids.h"
#include "dictionaries/dictionarytable.h"
#include "engine/errorreport.h"
#include "engine/menubar.h"
#include "engine/settings.h"
#include "engine/voiceselection.h"
#include "mainwindow.h"
#include "platform/focusmarks.h"
#include "platform/postedmessage.h"
#include "platform/profilefile.h"
#include "resources/acceleratortable.h"
#include "speech/enginecallback.h"
#include "speech/keyboardtext.h"
#include "speech/speech.h"
#include "windowcontrols.h"
#include "windowprocedure.h"

namespace shell {

namespace {

constexpr char kSettingsFile[] = "SAYBENCH.INI";
constexpr char kHelpFile[] = "SAYBENCH.hlp";
constexpr char kInstanceLockFile[] = "SAYBENCH.LCK";
constexpr char kQuestionSound[] = "ding.wav";
constexpr std::size_t kQuestionSoundLength = 80;
// Holds the user's own question sound while a program has set it to kQuestionSound.
constexpr char kKeptQuestionSound[] = "SystemQuestionBeforeVoxtrial";

std::string joinPath(const std::string& directory, const char* name) {
    return directory + "/" + name;
}

}  // namespace

Program::Program(ProgramOptions options)
    : m_windowControls(std::make_unique<WindowControls>()),
      m_speech(std::make_unique<speech::Speech>(m_context, *m_windowControls)) {
    m_context.session.engine = options.engine;
    m_context.session.extensions = options.extensions;
    m_context.services = std::move(options.services);
    m_context.paths.userProfile = std::move(options.userProfile);
    m_context.session.hostThread = m_hostThread.handle();
    platform::showFocusOnEveryControl();
}

Program::~Program() {
    delete m_miniPanel.data();
    delete m_mainWindow.data();
}

MainWindow* Program::mainWindow() const {
    return m_mainWindow;
}

MiniPanel* Program::miniPanel() const {
    return m_miniPanel;
}

bool Program::isExtendedMode(const std::string& commandLine) {
    return commandLine == kExtendedModeWord;
}

std::optional<int> Program::start(const std::string& commandLine) {
    std::error_code error;
    m_context.paths.startupDirectory = std::filesystem::current_path(error).string();
    m_context.paths.settingsPath = joinPath(m_context.paths.startupDirectory, kSettingsFile);
    m_context.paths.helpPath = joinPath(m_context.paths.startupDirectory, kHelpFile);
    m_context.appState = context::AppState{};
    if (isAnotherProgramRunning())
        return 0;
    m_context.extendedMode = isExtendedMode(commandLine);

    const int32_t status = m_context.session.engine->EngineOpen(
        &m_context.session.engineInstance, m_context.session.hostThread, &m_context.languageList);
    if (status != 0)
        engine::ReportError(*m_context.services.messages, nullptr, status);
    if (!createMainWindow())
        return 0;
    m_engineCallback->RegisterEngineCallback();
    if (!m_voice->ChooseStartupLanguage())
        return 0;
    armQuestionSound();
    m_context.controls.inputWindow->setEnabled(m_context.appState.PlayMode ==
                                               context::IDM_SOURCEKEYBOARD);
    installAccelerators();
    return std::nullopt;
}

int Program::exec() {
    if (!m_ended) {
        m_looping = true;
        QCoreApplication::exec();
        m_looping = false;
    }
    return m_exitCode;
}

void Program::terminate() {
    if (m_procedure)
        m_procedure->terminate();
}

int Program::run(const std::string& commandLine) {
    const std::optional<int> failed = start(commandLine);
    return failed ? *failed : exec();
}

bool Program::isAnotherProgramRunning() {
    m_instanceLock = platform::InstanceLock::acquire(
        joinPath(m_context.paths.startupDirectory, kInstanceLockFile));
    if (m_instanceLock)
        return false;
    m_context.services.messages->beep(platform::BeepKind::Stop);
    m_context.services.messages->show(nullptr, QStringLiteral("Voxtrial is already running!"),
                                      QStringLiteral("Warning"), platform::MessageIcon::Exclamation,
                                      platform::MessageButtons::Ok);
    return true;
}

engine::VoiceSelectionHooks Program::voiceHooks() {
    engine::VoiceSelectionHooks hooks;
    hooks.relayout = [this] {
        if (m_mainWindow)
            m_mainWindow->layout();
    };
    hooks.storeKeyboardText = [this] { speech::storeKeyboardText(m_context); };
    hooks.showKeyboardText = [this] { speech::showKeyboardText(m_context); };
    hooks.setLanguageLabel = [this](const QString& text) {
        if (m_context.controls.languageLabel)
            m_context.controls.languageLabel->setText(text);
    };
    hooks.emptyDictionaryTable = [this] { dictionaries::emptyDictionaryTable(m_context.appState); };
    return hooks;
}

void Program::bindControls() {
    m_context.controls.inputWindow = &m_mainWindow->input();
    m_context.controls.volumeSlider = &m_mainWindow->volume();
    m_context.controls.pitchSlider = &m_mainWindow->pitch();
    m_context.controls.rateSlider = &m_mainWindow->rate();
    m_context.controls.sourceLabel = &m_mainWindow->sourceLabel();
    m_context.controls.languageLabel = &m_mainWindow->languageLabel();
}

bool Program::createMainWindow() {
    engine::VoiceSelectionHooks hooks = voiceHooks();
    m_context.controls.relayout = hooks.relayout;
    m_voice = std::make_unique<engine::VoiceSelection>(m_context, std::move(hooks));
    m_procedure = std::make_unique<WindowProcedure>(
        m_context, *m_voice, *m_speech, [this](int code) { onQuit(code); },
        [this](QWidget& window) { installAcceleratorsOn(window); });
    m_context.session.engineNotify = [this](int32_t code, int32_t value1, int32_t value2) {
        m_speech->spokenText.onNotify(code, value1, value2);
    };
    m_engineCallback = std::make_unique<speech::EngineCallback>(m_context);

    m_mainWindow = new MainWindow(*m_procedure, m_pauseShowsResume);
    m_context.controls.mainWindow = m_mainWindow.data();
    m_procedure->attach(m_mainWindow, nullptr);
    m_procedure->onCreate(m_mainWindow);

    std::unique_ptr<engine::MenuBar> menuBar;
    const platform::ProfileFile settings(m_context.paths.settingsPath);
    const int32_t status = engine::ReadSettings(
        settings, m_context.languageList, m_context.appState, m_context.languageTable,
        engine::MenuBar::Builder(m_context.appState, m_context.languageTable,
                                 m_context.extendedMode, engine::MenuBar::PostingTo(m_mainWindow),
                                 menuBar));
    if (status != 0) {
        engine::ReportError(*m_context.services.messages, nullptr, status);
        return false;
    }
    m_context.controls.menuBar = menuBar.get();
    m_mainWindow->createControls(menuBar.release());
    bindControls();
    m_context.keyboard.keyboardText = {};

    if (m_context.extendedMode) {
        m_miniPanel = new MiniPanel(*m_procedure, m_pauseShowsResume);
        m_context.controls.miniPanel = m_miniPanel.data();
        m_procedure->onCreate(m_miniPanel);
    }
    m_procedure->attach(m_mainWindow, m_miniPanel);
    m_windowControls->attach(m_mainWindow, m_miniPanel);
    m_mainWindow->show();
    m_speech->commands.onWindowShown(m_mainWindow);
    return true;
}

void Program::armQuestionSound() {
    m_context.sound.questionSound = std::make_unique<platform::BorrowedProfileEntry>(
        m_context.paths.userProfile, "sounds", "SystemQuestion", kKeptQuestionSound);
    m_context.sound.savedQuestionSound =
        m_context.sound.questionSound->borrow(kQuestionSound, kQuestionSound, kQuestionSoundLength);
}

// The keys work in either of the program's windows (not inside modal dialogs) and always
// command the main window; a key whose menu item is disabled sends nothing.
void Program::installAccelerators() {
    for (QWidget* window :
         {static_cast<QWidget*>(m_mainWindow), static_cast<QWidget*>(m_miniPanel)}) {
        if (window)
            installAcceleratorsOn(*window);
    }
}

void Program::installAcceleratorsOn(QWidget& window) {
    for (const resources::Accelerator& entry : resources::acceleratorTable182())
        installAccelerator(&window, entry);
    installAccelerator(&window, resources::benchMonitorAccelerator());
}

void Program::installAccelerator(QWidget* window, const resources::Accelerator& entry) {
    auto* shortcut = new QShortcut(QKeySequence(entry.key), window);
    shortcut->setContext(Qt::WindowShortcut);
    const int command = entry.command;
    QObject::connect(shortcut, &QShortcut::activated, window, [this, command] {
        if (m_context.controls.menuBar && !m_context.controls.menuBar->sendsCommand(command))
            return;
        platform::sendMessage(m_mainWindow, platform::kCommandEventType, command);
    });
}

void Program::onQuit(int exitCode) {
    m_ended = true;
    m_exitCode = exitCode;
    // Only the program's own loop is ended: outside it (a test driving the program) an exit
    // would make every later event loop of the process return at once.
    if (m_looping)
        QCoreApplication::exit(exitCode);
}

}  // namespace shell
