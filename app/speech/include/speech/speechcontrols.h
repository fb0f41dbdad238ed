#pragma once

class QWidget;

namespace speech {

// What the speak commands change in the windows around a speech: the looks of the image
// buttons and the controls that are locked while the engine speaks. The shell implements it
// for the main window and the mini panel; every operation takes the window a command came from.
class SpeechControls {
  public:
    enum class Button { Speak, Stop, Pause, Demo, About };

    virtual ~SpeechControls() = default;

    // Speak off, Stop and Pause on (and, in the main window, Demo and About off) — and back.
    virtual void showSpeakingLook(QWidget* window) = 0;
    virtual void showIdleLook(QWidget* window) = 0;
    // The Pause button shows Resume while `paused`.
    virtual void setPausePicture(QWidget* window, bool paused) = 0;
    // The main window's menu bar (its first five menus) and sliders; nothing for the panel.
    virtual void setMenusAndSlidersEnabled(QWidget* window, bool enabled) = 0;
    // One button of the main window.
    virtual void setMainButtonEnabled(Button button, bool enabled) = 0;
    // The speak bracket's texts: the Speak button says "Stop" while speaking, "Speak" after;
    // the panel's Pause button is enabled with it, and disabled with the text "Pause" after.
    virtual void setSpeakBracketTexts(QWidget* window, bool speaking) = 0;
    virtual bool isMainWindow(QWidget* window) const = 0;
    // The program's window on screen now: the main window, or the panel in its place.
    virtual QWidget* shownWindow() const = 0;
    // While the engine speaks the input window shows the spoken text and takes no typing.
    virtual void setInputEditable(bool editable) = 0;
};

}  // namespace speech
