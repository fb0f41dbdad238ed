#include <QClipboard>
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QStyle>
#include <QTest>
#include <QTextCursor>

#include "context/commandids.h"
#include "engine/voiceselection.h"
#include "mainwindow.h"
#include "shellfixture.h"
#include "speech/speech.h"
#include "windowcontrols.h"
#include "windowprocedure.h"

namespace shelltest {
namespace {

int trunc(double value) {
    return static_cast<int>(value);
}

QRect rectOf(const QWidget& widget) {
    return widget.geometry();
}

TEST(MainWindowCreation, ControlsStartAtTheCreationGeometry) {
    context::ProgramContext program;
    engine::VoiceSelection voice(program, {});
    shell::WindowControls controls;
    speech::Speech speech(program, controls);
    shell::WindowProcedure procedure(program, voice, speech, [](int) {});
    bool pauseShowsResume = false;
    shell::MainWindow window(procedure, pauseShowsResume);
    window.createControls(
        engine::MenuBar::build(program.appState, program.languageTable, false, {}).release());

    const int dpiX = window.logicalDpiX();
    const int dpiY = window.logicalDpiY();
    EXPECT_EQ(window.size(), QSize(trunc(dpiX * 4.3), trunc(dpiY * 3.5)));
    if (dpiX == 96 && dpiY == 96) {
        EXPECT_EQ(window.size(), QSize(412, 336));
    }

    const int W = window.width();
    const int U = window.clientArea().height() / 12;
    const int Y5 = trunc(U * 5.5);
    const int imageWidth = 4 * W / 33;
    EXPECT_EQ(rectOf(window.sourceLabel()), QRect(2 * W / 16, trunc(U * 0.5), 3 * W / 16, 20));
    EXPECT_EQ(rectOf(window.rate()).topLeft(), QPoint(6 * W / 16, 4 * U));
    EXPECT_EQ(rectOf(window.input()), QRect(W / 16, 7 * U, 14 * W / 16, 90));
    EXPECT_EQ(rectOf(window.buttons().button(shell::ButtonSet::kStop)),
              QRect(trunc(W * 4.5 * 0.0625), Y5, imageWidth, 26));
    EXPECT_EQ(rectOf(window.buttons().button(shell::ButtonSet::kPause)),
              QRect(7 * W / 16, Y5, imageWidth, 20));
    EXPECT_EQ(rectOf(window.demo()), QRect(trunc(W * 9.5 * 0.0625), Y5, 2 * W / 16, 24));
    EXPECT_EQ(rectOf(window.about()), QRect(12 * W / 16, Y5, 2 * W / 16, 24));
}

// The user types, pastes or composes at most 999 characters in all; the program's own text,
// such as the echo of a piece of up to 2999 bytes, is shown whole.
TEST(MainWindowCreation, InputWindowLimitsOnlyWhatTheUserPutsIn) {
    QWidget parent;
    shell::InputWindow input(&parent);
    const QString echo(2999, QLatin1Char('e'));
    input.setPlainText(echo);
    EXPECT_EQ(input.toPlainText(), echo);
    QTest::keyClicks(&input, "x");
    EXPECT_EQ(input.toPlainText(), echo) << "a window over the limit takes no more keys";

    input.setPlainText(QString(997, QLatin1Char('a')));
    input.moveCursor(QTextCursor::Start);
    QTest::keyClicks(&input, "bcd");
    QTest::keyClick(&input, Qt::Key_Return);
    EXPECT_EQ(input.toPlainText(), "bc" + QString(997, QLatin1Char('a')));

    input.setPlainText(QString(995, QLatin1Char('a')));
    QTextCursor cursor = input.textCursor();
    cursor.setPosition(5);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    input.setTextCursor(cursor);
    QGuiApplication::clipboard()->setText(QStringLiteral("0123456789"));
    QTest::keySequence(&input, QKeySequence::Paste);
    EXPECT_EQ(input.toPlainText(),
              QString(5, QLatin1Char('a')) + "012345" + QString(988, QLatin1Char('a')))
        << "the pasted text replaces the selection and is cut to what fits";

    input.setPlainText(QString(998, QLatin1Char('a')));
    input.moveCursor(QTextCursor::End);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("xyz"));
    QCoreApplication::sendEvent(&input, &composed);
    EXPECT_EQ(input.toPlainText(), QString(998, QLatin1Char('a')) + "x");
}

class MainWindowLayout : public ShellFixture {
  protected:
    void expectLayoutFor(int CW, int clientHeight, int firstWidth) {
        shell::MainWindow& window = mainWindow();
        const int U = clientHeight / 12;
        const int Y5 = trunc(U * 5.5);
        const int imageWidth = 4 * firstWidth / 33;
        const shell::ButtonSet& buttons = window.buttons();
        EXPECT_EQ(rectOf(window.languageLabel()),
                  QRect(7 * CW / 16, trunc(U * 0.5), 7 * CW / 16, 20));
        EXPECT_EQ(rectOf(window.pitchLabel()), QRect(2 * CW / 16, 3 * U, 2 * CW / 16, 20));
        EXPECT_EQ(rectOf(window.volume()).topLeft(), QPoint(6 * CW / 16, 2 * U));
        EXPECT_EQ(rectOf(window.volume()).width(), 8 * CW / 16);
        EXPECT_EQ(rectOf(buttons.button(shell::ButtonSet::kSpeak)),
                  QRect(2 * CW / 16, Y5, imageWidth, 26));
        EXPECT_EQ(rectOf(buttons.button(shell::ButtonSet::kStop)),
                  QRect(trunc(CW * 5.5 * 0.0625 - 24), Y5, imageWidth, 26));
        EXPECT_EQ(rectOf(buttons.button(shell::ButtonSet::kPause)),
                  QRect(8 * CW / 16 - 24, Y5, imageWidth, 26));
        EXPECT_EQ(rectOf(window.demo()), QRect(trunc(CW * 10.5 * 0.0625 - 24), Y5, 48, 24));
        EXPECT_EQ(rectOf(window.about()), QRect(14 * CW / 16 - 48, Y5, 48, 24));
        EXPECT_EQ(rectOf(window.notice()), QRect(CW / 16, 11 * U, 14 * CW / 16, 20));
    }
};

// The darkest pixel of the label's outer edge: a border, or the window's light frame.
int edgeLightness(QWidget& label) {
    const QImage image = label.grab().toImage();
    int darkest = 255;
    for (int x = 0; x < image.width(); ++x) {
        for (const int y : {0, image.height() - 1}) {
            darkest = std::min(darkest, QColor(image.pixel(x, y)).lightness());
        }
    }
    return darkest;
}

TEST_F(MainWindowLayout, OnlyTheSourceAndLanguageLabelsHaveADarkBorder) {
    startTwoLanguages();
    shell::MainWindow& window = mainWindow();
    EXPECT_LT(edgeLightness(window.sourceLabel()), 128);
    EXPECT_LT(edgeLightness(window.languageLabel()), 128);
    for (QLabel* framed :
         {&window.volumeLabel(), &window.pitchLabel(), &window.rateLabel(), &window.notice()}) {
        EXPECT_GT(edgeLightness(*framed), 200) << framed->text().toStdString();
    }
}

TEST_F(MainWindowLayout, SlidersAndPictureButtonsServeKeyboardAndScreenReaderUsers) {
    startTwoLanguages("SAYRUN");
    shell::MainWindow& window = mainWindow();
    const std::vector<std::pair<QLabel*, QSlider*>> voice{{&window.volumeLabel(), &window.volume()},
                                                          {&window.pitchLabel(), &window.pitch()},
                                                          {&window.rateLabel(), &window.rate()}};
    for (const auto& [label, slider] : voice) {
        EXPECT_EQ(label->buddy(), slider);
        EXPECT_EQ(slider->accessibleName(), label->text());
    }
    EXPECT_FALSE(m_program->miniPanel()->windowIcon().isNull());

    // The focused picture button shows a focus mark over its picture.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    shell::ImageButton& speak = window.buttons().button(shell::ButtonSet::kSpeak);
    window.buttons().button(shell::ButtonSet::kStop).setFocus(Qt::TabFocusReason);
    const QImage unfocused = speak.grab().toImage();
    speak.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(speak.hasFocus());
    EXPECT_NE(speak.grab().toImage(), unfocused);
}

TEST_F(MainWindowLayout, StartUpLanguageSelectionPlacesControlsByTheLayout) {
    startTwoLanguages();
    const QWidget& client = mainWindow().clientArea();
    EXPECT_EQ(mainWindow().firstLayoutWidth(), client.width());
    expectLayoutFor(client.width(), client.height(), client.width());
    EXPECT_TRUE(mainWindow().buttons().button(shell::ButtonSet::kPause).isVisible());
}

TEST_F(MainWindowLayout, MaximisingWidensControlsButNotTheImageButtons) {
    startTwoLanguages();
    const int firstWidth = mainWindow().firstLayoutWidth();
    mainWindow().showMaximized();
    drain();
    const QWidget& client = mainWindow().clientArea();
    ASSERT_GT(client.width(), firstWidth);
    expectLayoutFor(client.width(), client.height(), firstWidth);

    mainWindow().showNormal();
    drain();
    EXPECT_EQ(mainWindow().size(), mainWindow().normalSize());
    expectLayoutFor(client.width(), client.height(), firstWidth);
}

TEST_F(MainWindowLayout, LayoutMakesThe72kHzItemUsableInExtendedMode) {
    startTwoLanguages("SAYRUN");
    program().controls.menuBar->setItemEnabled(context::IDM_FREQ7K, false);
    mainWindow().showMaximized();
    drain();
    EXPECT_TRUE(program().controls.menuBar->action(context::IDM_FREQ7K)->isEnabled());
}

TEST_F(MainWindowLayout, ResizingByTheBorderIsUndone) {
    startTwoLanguages();
    const QSize normal = mainWindow().size();
    mainWindow().resize(normal + QSize(120, 80));
    drain();
    EXPECT_EQ(mainWindow().size(), normal);
    EXPECT_EQ(mainWindow().buttons().button(shell::ButtonSet::kSpeak).width(),
              4 * mainWindow().firstLayoutWidth() / 33);
}

TEST_F(MainWindowLayout, MinimisingInNormalModeNeverRelayouts) {
    startTwoLanguages();
    QPushButton& demo = mainWindow().demo();
    demo.move(1, 1);
    mainWindow().showMinimized();
    drain();
    EXPECT_EQ(demo.pos(), QPoint(1, 1));
    EXPECT_TRUE(mainWindow().isMinimized());
}

}  // namespace
}  // namespace shelltest
