#pragma once

#include <saymgr.h>

#include <QLabel>
#include <QPointer>
#include <QSlider>
#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "binding/engineextensions.h"
#include "binding/engineops.h"
#include "context/appstate.h"
#include "context/speechobserver.h"
#include "platform/applicationfilter.h"
#include "platform/borrowedprofileentry.h"
#include "platform/services.h"

namespace engine {
class MenuBar;
}

namespace context {

enum class SpeechState : int32_t { Idle = 0, Speaking = 1, Paused = 2 };

// The most characters a user can type into the input window, and so keep per language.
inline constexpr int kKeyboardTextLength = 999;

// Where the program's files are: its folder, settings, help, and the user's profile.
struct Paths {
    std::string startupDirectory;
    std::string settingsPath;
    std::string helpPath;
    std::filesystem::path userProfile;  // holds the user's "sounds" section
};

// The engine the program drives: its table and instance, what it is doing, and who hears of it.
struct EngineSession {
    const binding::EngineOps* engine = nullptr;
    // The engine's monitoring extensions; null or incomplete for an engine without them.
    const binding::EngineExtensions* extensions = nullptr;
    int32_t engineInstance = 0;
    SaymgrHostThread* hostThread = nullptr;
    SpeechState speechState = SpeechState::Idle;
    // Receives the engine's notifications (code, value1, value2) on the program's thread.
    std::function<void(int32_t, int32_t, int32_t)> engineNotify;
    // Told about each speak or generate request while set (the open bench monitor).
    SpeechObserver* speechObserver = nullptr;
    // The clock requests and notifications are timed with; a test puts in its own.
    std::function<SpeechObserver::Clock::time_point()> now = SpeechObserver::Clock::now;
};

// The choices of the system speech mode sheet and of the echo.
struct SpeechChoices {
    // The system speech mode's two choices: 0 Speak Directly, 1 Put Text in Queue, 2 Interrupt
    // Speech; 0 Not Interruptible, 1 Interruptible.
    int32_t speechModeChoice = 0;
    int32_t interruptChoice = 0;
    bool echoEnabled = true;
};

// What the input window keeps between languages and between its openings.
struct KeyboardInput {
    // The input window's text per language slot (slot Language - 1), at most 999 characters.
    std::array<std::string, context::kLanguageSlots> keyboardText;
    // The input window's selection: start in the low 16 bits, end in the high 16 bits.
    int32_t savedSelection = 0;
};

// The user's question sound, which the program replaces by its own while it runs.
struct QuestionSound {
    std::string savedQuestionSound;
    // The user's question sound while this program has it set to its own.
    std::unique_ptr<platform::BorrowedProfileEntry> questionSound;
};

// The input hooks: where they post, whether they are suspended, and the installed filters.
struct HookState {
    // The window the input hooks post to, and whether they ignore keys for now.
    QPointer<QWidget> hookTargetWindow;
    bool hooksSuspended = false;
    // The installed input hooks, application-wide event filters; null while not installed.
    std::unique_ptr<QObject> keyboardHook;
    std::unique_ptr<QObject> windowSwitchHook;
    // Installs a hook's filter; a test puts in one that fails.
    std::function<bool(QObject&)> installHook = platform::installApplicationFilter;
};

// The program's windows and the main window's controls that other subsystems change.
struct MainWindowControls {
    QPointer<QWidget> mainWindow;
    QPointer<QWidget> miniPanel;
    QPointer<QWidget> inputWindow;
    QPointer<QSlider> volumeSlider;
    QPointer<QSlider> pitchSlider;
    QPointer<QSlider> rateSlider;
    QPointer<QLabel> sourceLabel;
    QPointer<QLabel> languageLabel;
    QPointer<engine::MenuBar> menuBar;  // owned by the main window
    // Places the main window's controls for its current size (after a language selection too).
    std::function<void()> relayout;
};

// Everything the running program shares between its subsystems, in named parts so that a
// subsystem can be handed only the parts it uses. main() creates one; a test builds a fresh
// one, so nothing survives from one program to the next.
struct ProgramContext {
    Paths paths;
    bool extendedMode = false;

    context::AppState appState;
    context::LanguageTable languageTable;
    LanguageList languageList{};

    EngineSession session;
    platform::Services services;
    SpeechChoices choices;
    KeyboardInput keyboard;
    QuestionSound sound;
    HookState hooks;
    MainWindowControls controls;

    // The name the program's file dialogs share: the path last chosen in one of them, which
    // the next one starts with. Empty at start-up.
    std::string commonFileName;
    // Numbers the temporary files of text dictionary conversions; only grows during a run.
    int32_t tempDictionaryCounter = 0;
};

}  // namespace context
