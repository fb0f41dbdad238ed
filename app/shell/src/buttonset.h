#pragma once

#include <array>

namespace shell {

class ImageButton;

// The three image buttons of one window (0 Speak, 1 Stop, 2 Pause) and the pictures they show:
// each is active or inactive, and the Pause button shows Resume while speech is paused. The
// pictures are loaded at the window's first owner-draw notification and released when the
// window gives way to the other one or the program ends.
class ButtonSet {
  public:
    enum Index { kSpeak = 0, kStop = 1, kPause = 2 };

    // `pauseShowsResume` is shared by the sets of both windows.
    ButtonSet(std::array<ImageButton*, 3> buttons, bool& pauseShowsResume);

    ImageButton& button(Index index) const { return *m_buttons[index]; }
    bool isLoaded() const { return m_loaded; }
    bool isActive(Index index) const { return m_active[index]; }

    // The owner-draw notification: loads the pictures on first use and shows each button's.
    void redraw();
    void setLook(Index index, bool inactive);
    void setPausePicture(bool paused);
    void release();

    // Speak off, Stop and Pause on — and the reverse.
    void showSpeakingLook();
    void showIdleLook();

  private:
    // A look set before the window's first paint counts: loading happens then, not later.
    void load();
    int pictureFor(int index) const;
    void show(int index);
    void describePause();

    std::array<ImageButton*, 3> m_buttons;
    std::array<bool, 3> m_active{};
    bool m_loaded = false;
    bool& m_pauseShowsResume;
};

}  // namespace shell
