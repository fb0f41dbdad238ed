#include "buttonset.h"

#include "imagebutton.h"
#include "resources/buttonpictures.h"

namespace shell {

ButtonSet::ButtonSet(std::array<ImageButton*, 3> buttons, bool& pauseShowsResume)
    : m_buttons(buttons), m_pauseShowsResume(pauseShowsResume) {}

void ButtonSet::redraw() {
    load();
    for (int i = 0; i < 3; ++i)
        show(i);
}

void ButtonSet::load() {
    if (m_loaded)
        return;
    m_active = {true, false, false};
    m_loaded = true;
}

void ButtonSet::setLook(Index index, bool inactive) {
    load();
    m_active[index] = !inactive;
    show(index);
}

void ButtonSet::setPausePicture(bool paused) {
    m_pauseShowsResume = paused;
    m_buttons[kPause]->setPicture(paused ? resources::kResume : resources::kPauseActive);
    describePause();
}

// A screen reader hears what the Pause button will do.
void ButtonSet::describePause() {
    ImageButton& pause = *m_buttons[kPause];
    pause.setAccessibleName(pause.pictureId() == resources::kResume
                                ? QStringLiteral("Resume")
                                : QStringLiteral("Pause or resume"));
}

void ButtonSet::release() {
    for (ImageButton* button : m_buttons)
        button->clearPicture();
    m_loaded = false;
}

void ButtonSet::showSpeakingLook() {
    setLook(kPause, false);
    m_buttons[kPause]->setEnabled(true);
    setLook(kStop, false);
    m_buttons[kStop]->setEnabled(true);
    setLook(kSpeak, true);
    m_buttons[kSpeak]->setEnabled(false);
}

void ButtonSet::showIdleLook() {
    m_buttons[kSpeak]->setEnabled(true);
    m_buttons[kStop]->setEnabled(false);
    m_buttons[kPause]->setEnabled(false);
    setLook(kSpeak, false);
    setLook(kPause, true);
    setLook(kStop, true);
}

int ButtonSet::pictureFor(int index) const {
    if (!m_active[index])
        return resources::kSpeakInactive + index;
    if (index == kPause && m_pauseShowsResume)
        return resources::kResume;
    return resources::kSpeakActive + index;
}

void ButtonSet::show(int index) {
    m_buttons[index]->setPicture(pictureFor(index));
    if (index == kPause)
        describePause();
}

}  // namespace shell
