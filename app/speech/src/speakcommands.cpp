#include "speech/speakcommands.h"

#include <QPlainTextEdit>
#include <filesystem>

#include "context/commandids.h"
#include "context/programcontext.h"
#include "engine/errorreport.h"
#include "engine/menubar.h"
#include "platform/postedmessage.h"
#include "speech/keyboardtext.h"
#include "speech/speechcontrols.h"
#include "speech/speechrequests.h"

namespace speech {
namespace {

using context::SpeechState;
using Button = SpeechControls::Button;

QString sourceLabelText(int32_t command) {
    switch (command) {
        case context::IDM_SOURCECLIPBOARD:
            return QStringLiteral(" Clipboard");
        case context::IDM_SOURCEKEYBOARD:
            return QStringLiteral(" Keyboard");
        default:
            return QStringLiteral(" File     ");
    }
}

}  // namespace

SpeakCommands::SpeakCommands(context::ProgramContext& program, SpeechRequests& requests,
                             SpeechControls& controls)
    : m_program(program), m_requests(requests), m_controls(controls) {}

void SpeakCommands::report(QWidget* window, int32_t status) {
    if (status != 0) {
        engine::ReportError(*m_program.services.messages, window, status);
    }
}

void SpeakCommands::setInputEnabled(bool enabled) {
    if (m_program.controls.inputWindow) {
        m_program.controls.inputWindow->setEnabled(enabled);
    }
}

void SpeakCommands::onSpeak(QWidget* window) {
    if (m_program.session.speechState != SpeechState::Idle) {
        return;
    }
    m_program.choices.echoEnabled = true;
    m_program.session.speechState = SpeechState::Speaking;
    if (m_program.appState.PlayMode == context::IDM_SOURCEKEYBOARD) {
        storeKeyboardText(m_program);
    }
    showSpeaking(window);
    setInputEnabled(true);
    speakBracket(window);
    m_program.session.speechState = SpeechState::Idle;
    if (window) {
        window->setFocus();
    }
    finishSpeech(window);
}

void SpeakCommands::onDemo(QWidget* window) {
    if (m_program.session.speechState != SpeechState::Idle) {
        return;
    }
    context::AppState& state = m_program.appState;
    m_program.choices.echoEnabled = true;
    m_program.session.speechState = SpeechState::Speaking;
    m_controls.setMainButtonEnabled(Button::Pause, true);
    if (state.PlayMode == context::IDM_SOURCEKEYBOARD) {
        storeKeyboardText(m_program);
    }
    showSpeaking(window);
    const int32_t playMode = state.PlayMode;
    const int32_t fileType = state.FileType;
    const std::string textFile = state.textFilePath;
    const int slot = state.Language - 1;
    const std::string demoFile =
        m_program.languageTable.text(slot, context::LanguageColumn::DemoFile);
    state.textFilePath =
        (std::filesystem::path(m_program.paths.startupDirectory) / demoFile).string();
    state.FileType = 1;
    state.PlayMode = context::IDM_SOURCEFILE;
    setInputEnabled(true);
    speakBracket(window);
    state.PlayMode = playMode;
    state.FileType = fileType;
    state.textFilePath = textFile;
    if (window) {
        window->setFocus();
    }
    m_program.session.speechState = SpeechState::Idle;
    finishSpeech(window);
}

void SpeakCommands::finishSpeech(QWidget* window) {
    m_controls.setInputEditable(true);
    showInputForSource(window);
    showIdle(window, true);
}

void SpeakCommands::showInputForSource(QWidget* window) {
    const bool keyboard = m_program.appState.PlayMode == context::IDM_SOURCEKEYBOARD;
    if (auto* input = qobject_cast<QPlainTextEdit*>(m_program.controls.inputWindow.data())) {
        input->clear();
    }
    setInputEnabled(keyboard);
    if (keyboard) {
        showKeyboardText(m_program);
        platform::postMessage(window, context::UM_RESTORESEL);
    }
}

void SpeakCommands::showIdle(QWidget* window, bool unlock) {
    QWidget* shown = m_controls.shownWindow();
    for (QWidget* target : {window, shown == window ? nullptr : shown}) {
        if (target == nullptr) {
            continue;
        }
        m_controls.setPausePicture(target, false);
        m_controls.showIdleLook(target);
        if (unlock) {
            m_controls.setMenusAndSlidersEnabled(target, true);
        }
    }
}

void SpeakCommands::showSpeaking(QWidget* window) {
    m_controls.showSpeakingLook(window);
    if (QWidget* shown = m_controls.shownWindow(); shown != nullptr && shown != window) {
        onWindowShown(shown);
    }
}

void SpeakCommands::onWindowShown(QWidget* window) {
    const bool idle = m_program.session.speechState == SpeechState::Idle;
    if (idle) {
        m_controls.showIdleLook(window);
    } else {
        m_controls.showSpeakingLook(window);
    }
    m_controls.setMenusAndSlidersEnabled(window, idle);
}

void SpeakCommands::onAboutSpeak(QWidget* window) {
    if (m_program.session.speechState != SpeechState::Idle) {
        return;
    }
    m_controls.setMainButtonEnabled(Button::Pause, true);
    m_program.choices.echoEnabled = false;
    m_program.session.speechState = SpeechState::Speaking;
    showSpeaking(window);
    aboutBracket(window);
    if (window) {
        window->setFocus();
    }
    m_program.session.speechState = SpeechState::Idle;
    showIdle(window, true);
}

void SpeakCommands::onPause(QWidget* window) {
    const int32_t instance = m_program.session.engineInstance;
    switch (m_program.session.speechState) {
        case SpeechState::Speaking:
            report(window, m_program.session.engine->EnginePause(instance, 1));
            m_program.session.speechState = SpeechState::Paused;
            m_controls.setPausePicture(window, true);
            break;
        case SpeechState::Paused:
            report(window, m_program.session.engine->EngineResume(instance, 1));
            m_program.session.speechState = SpeechState::Speaking;
            m_controls.setPausePicture(window, false);
            break;
        case SpeechState::Idle:
            break;
    }
}

void SpeakCommands::onStop(QWidget* window) {
    report(window, m_program.session.engine->EngineStop(m_program.session.engineInstance, 1));
    showIdle(window, false);
    m_program.session.speechState = SpeechState::Idle;
}

void SpeakCommands::onSource(QWidget* window, int32_t command) {
    context::AppState& state = m_program.appState;
    const int32_t previous = state.PlayMode;
    auto* input = qobject_cast<QPlainTextEdit*>(m_program.controls.inputWindow.data());
    if (previous == context::IDM_SOURCEKEYBOARD) {
        storeKeyboardText(m_program);
    }
    if (command != context::IDM_SOURCEKEYBOARD && previous == context::IDM_SOURCEKEYBOARD) {
        if (input) {
            input->clear();
        }
        setInputEnabled(false);
    }
    if (command == context::IDM_SOURCEKEYBOARD) {
        setInputEnabled(true);
        state.PlayMode = command;  // showing the text selects and copies only for Keyboard
        showKeyboardText(m_program);
        platform::postMessage(window, context::UM_RESTORESEL);
    }
    for (const int32_t item :
         {context::IDM_SOURCEFILE, context::IDM_SOURCECLIPBOARD, context::IDM_SOURCEKEYBOARD}) {
        if (m_program.controls.menuBar) {
            m_program.controls.menuBar->setChecked(item, item == command);
        }
    }
    state.PlayMode = command;
    if (m_program.controls.sourceLabel) {
        m_program.controls.sourceLabel->setText(sourceLabelText(command));
    }
}

void SpeakCommands::speakBracket(QWidget* window) {
    m_controls.setInputEditable(false);
    m_controls.setSpeakBracketTexts(window, true);
    m_controls.setMenusAndSlidersEnabled(window, false);
    m_controls.setMainButtonEnabled(Button::About, false);
    m_requests.SpeakCurrentSource(window);
    m_requests.EndSpeakRequest();
    m_controls.setMenusAndSlidersEnabled(window, true);
    m_controls.setSpeakBracketTexts(window, false);
    m_controls.setMainButtonEnabled(Button::About, true);
}

void SpeakCommands::aboutBracket(QWidget* window) {
    m_controls.setMenusAndSlidersEnabled(window, false);
    m_controls.setMainButtonEnabled(Button::Speak, false);
    m_requests.SpeakAboutText(window);
    m_controls.setMainButtonEnabled(Button::Speak, true);
    m_controls.setMenusAndSlidersEnabled(window, true);
}

}  // namespace speech
