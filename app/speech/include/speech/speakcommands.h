#pragma once

#include <cstdint>

class QWidget;

namespace context {
struct ProgramContext;
}

namespace speech {

class SpeechControls;
class SpeechRequests;

// The commands that start, pause, resume and stop speech and that choose the text source. They
// own speechState: Speak, About and Demo start only while idle and block in the engine's speak
// call, during which Pause, Stop and the engine's notifications arrive nested. Around a speech
// the controls are locked (the speak and about brackets) and the input window shows the
// language's own text again afterwards.
class SpeakCommands {
  public:
    SpeakCommands(context::ProgramContext& program, SpeechRequests& requests,
                  SpeechControls& controls);

    void onSpeak(QWidget* window);
    void onAboutSpeak(QWidget* window);
    void onPause(QWidget* window);
    void onStop(QWidget* window);
    void onDemo(QWidget* window);
    // IDM_SOURCEFILE, IDM_SOURCECLIPBOARD or IDM_SOURCEKEYBOARD.
    void onSource(QWidget* window, int32_t command);
    // The input window as the chosen source wants it: the language's typed text, enabled, with
    // its selection restored by a message to `window`, for the Keyboard source; empty and
    // disabled for the others.
    void showInputForSource(QWidget* window);
    // The main window and the panel swapped places: the window now shown takes the look of the
    // engine's state, its menus and sliders locked during a speech and unlocked otherwise.
    void onWindowShown(QWidget* window);

  private:
    void speakBracket(QWidget* window);
    void aboutBracket(QWidget* window);
    // The end of Speak and Demo: the input window, the Pause picture and the idle look.
    void finishSpeech(QWidget* window);
    // The speaking look for the window a speech comes from and for the window shown now.
    void showSpeaking(QWidget* window);
    // The Pause picture and the idle look for the window a speech came from and for the window
    // shown now, should the user have swapped them meanwhile; with `unlock`, their menus and
    // sliders too.
    void showIdle(QWidget* window, bool unlock);
    void setInputEnabled(bool enabled);
    void report(QWidget* window, int32_t status);

    context::ProgramContext& m_program;
    SpeechRequests& m_requests;
    SpeechControls& m_controls;
};

}  // namespace speech
