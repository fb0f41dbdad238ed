#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <memory>

#include "buttonset.h"
#include "engine/menubar.h"
#include "imagebutton.h"
#include "inputwindow.h"
#include "saybenchwindow.h"

namespace shell {

// The wording of the notice line at the bottom of the main window.
inline constexpr char kNoticeText[] = "Quenvar Voxtrial - a test bench for text-to-speech engines";

// The main window: a menu bar over a client area with the fifteen controls (labels, three
// sliders with their frame labels, the input window, the notice line, the three image buttons,
// Demo and About). Its outer size is 4.3 by 3.5 logical inches; the user can minimise and
// maximise it but not resize it by its border. layout() places the controls for the current
// client size; the image buttons keep the width of the first layout.
class MainWindow : public SayBenchWindow {
    Q_OBJECT
  public:
    MainWindow(WindowProcedure& procedure, bool& pauseShowsResume);

    // Attaches the menu bar and creates the controls at their creation geometry.
    void createControls(engine::MenuBar* menuBar);
    void layout();

    QSize normalSize() const { return m_normalSize; }
    int firstLayoutWidth() const { return m_firstLayoutWidth; }
    QWidget& clientArea() const { return *m_client; }
    engine::MenuBar* menuBar() const { return m_menuBar; }

    QLabel& sourceLabel() const { return *m_sourceLabel; }
    QLabel& languageLabel() const { return *m_languageLabel; }
    QLabel& volumeLabel() const { return *m_volumeLabel; }
    QLabel& pitchLabel() const { return *m_pitchLabel; }
    QLabel& rateLabel() const { return *m_rateLabel; }
    QLabel& notice() const { return *m_notice; }
    QSlider& volume() const { return *m_volume; }
    QSlider& pitch() const { return *m_pitch; }
    QSlider& rate() const { return *m_rate; }
    InputWindow& input() const { return *m_input; }
    QPushButton& demo() const { return *m_demo; }
    QPushButton& about() const { return *m_about; }
    ButtonSet& buttons() const { return *m_buttons; }

  protected:
    bool event(QEvent* event) override;

  private:
    QLabel* makeLabel(bool framed);
    QSlider* makeSlider(int id, const QString& name);
    ImageButton* makeImageButton(int id, const QString& text, const QString& name);
    QPushButton* makePushButton(int id, const QString& text);
    void placeClientArea();
    // Outside the maximised and minimised states the window keeps its size: a resize by the
    // border is undone. (Fixed size hints would make window managers refuse to maximise it.)
    void keepNormalSize();

    QSize m_normalSize;
    int m_firstLayoutWidth = 0;
    engine::MenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    QLabel* m_sourceLabel = nullptr;
    QLabel* m_languageLabel = nullptr;
    QLabel* m_volumeLabel = nullptr;
    QLabel* m_pitchLabel = nullptr;
    QLabel* m_rateLabel = nullptr;
    QLabel* m_notice = nullptr;
    QSlider* m_volume = nullptr;
    QSlider* m_pitch = nullptr;
    QSlider* m_rate = nullptr;
    InputWindow* m_input = nullptr;
    QPushButton* m_demo = nullptr;
    QPushButton* m_about = nullptr;
    std::unique_ptr<ButtonSet> m_buttons;
    bool& m_pauseShowsResume;
};

// The small always-on-top panel that stands in for the main window while it is minimised in
// extended mode: Speak, Stop and Pause, nothing else.
class MiniPanel : public SayBenchWindow {
    Q_OBJECT
  public:
    MiniPanel(WindowProcedure& procedure, bool& pauseShowsResume);

    ButtonSet& buttons() const { return *m_buttons; }
    // Top-most in the upper right corner of the screen, 148 by 47 pixels.
    void placeOnScreen();

  private:
    std::unique_ptr<ButtonSet> m_buttons;
};

}  // namespace shell
