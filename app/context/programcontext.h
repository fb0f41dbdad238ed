#pragma once

#include <saymgr.h>

#include <QPointer>
#include <QSlider>
#include <QWidget>
#include <cstdint>
#include <string>

#include "engine/appstate.h"
#include "engine/binding/engineops.h"
#include "platform/services.h"

namespace engine {
class MenuBar;
}

namespace context {

enum class SpeechState : int32_t { Idle = 0, Speaking = 1, Paused = 2 };

// Everything the running program shares between its subsystems: paths, the state record and
// language table, the engine's table and instance, the platform services and the windows.
// main() creates one; a test builds a fresh one, so nothing survives from one program to the
// next.
struct ProgramContext {
    std::string startupDirectory;
    std::string settingsPath;
    std::string helpPath;
    bool extendedMode = false;

    engine::AppState appState;
    engine::LanguageTable languageTable;
    LanguageList languageList{};

    const engine::EngineOps* engine = nullptr;
    int32_t engineInstance = 0;
    SaymgrHostThread* hostThread = nullptr;

    platform::Services services;

    SpeechState speechState = SpeechState::Idle;
    std::string savedQuestionSound;

    QPointer<QWidget> mainWindow;
    QPointer<QWidget> miniPanel;
    QPointer<QWidget> inputWindow;
    QPointer<QSlider> volumeSlider;
    QPointer<QSlider> pitchSlider;
    QPointer<QSlider> rateSlider;
    engine::MenuBar* menuBar = nullptr;  // owned by the main window
};

}  // namespace context
