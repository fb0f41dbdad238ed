#include "windowcontrols.h"

#include "mainwindow.h"

namespace shell {
namespace {

// The menus a speech locks: File, Options, Mode, the generation menu and Help, by position.
constexpr int kLockedMenus = 5;

}  // namespace

void WindowControls::attach(MainWindow* mainWindow, MiniPanel* miniPanel) {
    m_mainWindow = mainWindow;
    m_miniPanel = miniPanel;
}

bool WindowControls::isMainWindow(QWidget* window) const {
    return window != nullptr && window == m_mainWindow;
}

QWidget* WindowControls::shownWindow() const {
    if (m_mainWindow && m_mainWindow->isVisible()) {
        return m_mainWindow;
    }
    if (m_miniPanel && m_miniPanel->isVisible()) {
        return m_miniPanel;
    }
    return nullptr;
}

void WindowControls::setInputEditable(bool editable) {
    if (m_mainWindow && m_mainWindow->menuBar()) {
        m_mainWindow->input().setReadOnly(!editable);
    }
}

ButtonSet* WindowControls::buttonsOf(QWidget* window) const {
    if (isMainWindow(window) && m_mainWindow->menuBar()) {
        return &m_mainWindow->buttons();
    }
    if (window != nullptr && window == m_miniPanel) {
        return &m_miniPanel->buttons();
    }
    return nullptr;
}

void WindowControls::showSpeakingLook(QWidget* window) {
    if (ButtonSet* buttons = buttonsOf(window)) {
        buttons->showSpeakingLook();
    }
    if (isMainWindow(window)) {
        m_mainWindow->demo().setEnabled(false);
        m_mainWindow->about().setEnabled(false);
    }
}

void WindowControls::showIdleLook(QWidget* window) {
    if (ButtonSet* buttons = buttonsOf(window)) {
        buttons->showIdleLook();
    }
    if (isMainWindow(window)) {
        m_mainWindow->demo().setEnabled(true);
        m_mainWindow->about().setEnabled(true);
    }
}

void WindowControls::setPausePicture(QWidget* window, bool paused) {
    if (ButtonSet* buttons = buttonsOf(window)) {
        buttons->setPausePicture(paused);
    }
}

void WindowControls::setMenusAndSlidersEnabled(QWidget* window, bool enabled) {
    if (!isMainWindow(window) || !m_mainWindow->menuBar()) {
        return;
    }
    for (int position = 0; position < kLockedMenus; ++position) {
        if (QMenu* menu = m_mainWindow->menuBar()->topMenu(position)) {
            menu->menuAction()->setEnabled(enabled);
        }
    }
    for (QSlider* slider :
         {&m_mainWindow->volume(), &m_mainWindow->pitch(), &m_mainWindow->rate()}) {
        slider->setEnabled(enabled);
    }
    m_mainWindow->menuBar()->update();
}

void WindowControls::setMainButtonEnabled(Button button, bool enabled) {
    if (!m_mainWindow || !m_mainWindow->menuBar()) {
        return;
    }
    switch (button) {
        case Button::Speak:
            m_mainWindow->buttons().button(ButtonSet::kSpeak).setEnabled(enabled);
            break;
        case Button::Stop:
            m_mainWindow->buttons().button(ButtonSet::kStop).setEnabled(enabled);
            break;
        case Button::Pause:
            m_mainWindow->buttons().button(ButtonSet::kPause).setEnabled(enabled);
            break;
        case Button::Demo:
            m_mainWindow->demo().setEnabled(enabled);
            break;
        case Button::About:
            m_mainWindow->about().setEnabled(enabled);
            break;
    }
}

void WindowControls::setSpeakBracketTexts(QWidget* window, bool speaking) {
    ButtonSet* buttons = buttonsOf(window);
    if (buttons == nullptr) {
        return;
    }
    buttons->button(ButtonSet::kSpeak)
        .setText(speaking ? QStringLiteral("Stop") : QStringLiteral("Speak"));
    if (window != m_miniPanel) {
        return;
    }
    ImageButton& pause = buttons->button(ButtonSet::kPause);
    if (!speaking) {
        pause.setText(QStringLiteral("Pause"));
    }
    pause.setEnabled(speaking);
}

}  // namespace shell
