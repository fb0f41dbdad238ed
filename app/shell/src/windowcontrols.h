#pragma once

#include <QPointer>

#include "speech/speechcontrols.h"

namespace shell {

class ButtonSet;
class MainWindow;
class MiniPanel;

// The speak commands' view of the two windows: button looks, the Pause picture, and the main
// window's menus, sliders and push buttons locked around a speech.
class WindowControls : public speech::SpeechControls {
  public:
    // The windows, once they exist; the panel is null in normal mode.
    void attach(MainWindow* mainWindow, MiniPanel* miniPanel);

    void showSpeakingLook(QWidget* window) override;
    void showIdleLook(QWidget* window) override;
    void setPausePicture(QWidget* window, bool paused) override;
    void setMenusAndSlidersEnabled(QWidget* window, bool enabled) override;
    void setMainButtonEnabled(Button button, bool enabled) override;
    void setSpeakBracketTexts(QWidget* window, bool speaking) override;
    bool isMainWindow(QWidget* window) const override;
    QWidget* shownWindow() const override;
    void setInputEditable(bool editable) override;

  private:
    ButtonSet* buttonsOf(QWidget* window) const;

    QPointer<MainWindow> m_mainWindow;
    QPointer<MiniPanel> m_miniPanel;
};

}  // namespace shell
