#include <QSlider>
#include <QTest>
#include <fstream>

#include "context/commandids.h"
#include "engine/menubar.h"
#include "mainwindow.h"
#include "platform/postedmessage.h"
#include "shellfixture.h"
#include "windowprocedure.h"

namespace shelltest {
namespace {

using platform::BeepKind;
using platform::MessageIcon;
using testsupport::EngineCall;

class WindowProcedureTest : public ShellFixture {
  protected:
    void send(int number, QWidget* window = nullptr, intptr_t wParam = 0) {
        platform::sendMessage(window ? window : m_program->mainWindow(), number, wParam);
        drain();
    }
    std::string inputText() const { return mainWindow().input().toPlainText().toStdString(); }
};

TEST_F(WindowProcedureTest, RefreshShowsTheLabelsAndPaintsTheFrameTexts) {
    startTwoLanguages();
    send(context::UM_REFRESH);
    EXPECT_EQ(mainWindow().sourceLabel().text(), " Keyboard");
    EXPECT_EQ(mainWindow().languageLabel().text(), " German DE");
    EXPECT_EQ(mainWindow().volumeLabel().text(), "Volume");
    EXPECT_EQ(mainWindow().pitchLabel().text(), "Pitch");
    EXPECT_EQ(mainWindow().rateLabel().text(), "Rate");
    EXPECT_EQ(mainWindow().notice().text(), shell::kNoticeText);

    program().appState.PlayMode = context::IDM_SOURCEFILE;
    send(context::UM_REFRESH);
    EXPECT_EQ(mainWindow().sourceLabel().text(), " File    ");
    program().appState.PlayMode = context::IDM_SOURCECLIPBOARD;
    send(context::UM_REFRESH);
    EXPECT_EQ(mainWindow().sourceLabel().text(), " Clipboard");
}

TEST_F(WindowProcedureTest, RefreshResetsAnUnexpectedSourceToFile) {
    startTwoLanguages();
    program().appState.PlayMode = 4711;
    platform::sendMessage(m_program->mainWindow(), context::UM_REFRESH);
    EXPECT_EQ(program().appState.PlayMode, 135);
    EXPECT_EQ(mainWindow().sourceLabel().text(), " File     ");
}

TEST_F(WindowProcedureTest, HelpContentsOpensTheHelpFileOrSaysItIsMissing) {
    startTwoLanguages();
    command(context::IDM_HELPCONTENTS);
    ASSERT_EQ(m_recorders.help->requests().size(), 1u);
    EXPECT_EQ(m_recorders.help->requests()[0].path.toStdString(), program().paths.helpPath);
    const auto log = m_recorders.messages->log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].beep, BeepKind::Information);
    EXPECT_EQ(log[1].text, "Help not available!");
    EXPECT_EQ(log[1].caption, "Help");
    EXPECT_EQ(log[1].icon, MessageIcon::Stop);

    std::ofstream(startupDirectory() / "SAYBENCH.hlp") << "<h1>Help</h1>\n";
    m_recorders.messages->clear();
    command(context::IDM_HELPCONTENTS);
    EXPECT_TRUE(m_recorders.messages->log().empty());
}

TEST_F(WindowProcedureTest, LanguageHelpOpensTheLanguagesFileAndNothingWithoutOne) {
    startTwoLanguages();
    std::ofstream(startupDirectory() / "HELP_DE.HTM") << "<p>Deutsch</p>\n";
    command(context::IDM_LANGHELP);
    ASSERT_EQ(m_recorders.help->requests().size(), 1u);
    EXPECT_EQ(m_recorders.help->requests()[0].path.toStdString(),
              (startupDirectory() / "HELP_DE.HTM").string());
    EXPECT_TRUE(m_recorders.messages->log().empty());

    program().appState.languageHelpPath.clear();
    command(context::IDM_LANGHELP);
    EXPECT_EQ(m_recorders.help->requests().size(), 1u);
    EXPECT_TRUE(m_recorders.messages->log().empty());
}

TEST_F(WindowProcedureTest, ShowMessageTogglesTheEchoSettingAndItsCheckMark) {
    startTwoLanguages();
    ASSERT_EQ(program().appState.TextOut, 1);
    command(context::IDM_SHOWMESSAGE);
    EXPECT_EQ(program().appState.TextOut, 0);
    EXPECT_FALSE(program().controls.menuBar->isChecked(context::IDM_SHOWMESSAGE));
    command(context::IDM_SHOWMESSAGE);
    EXPECT_EQ(program().appState.TextOut, 1);
    EXPECT_TRUE(program().controls.menuBar->isChecked(context::IDM_SHOWMESSAGE));
}

TEST_F(WindowProcedureTest, EachLanguageKeepsItsOwnInputText) {
    startTwoLanguages();
    mainWindow().input().setPlainText(QStringLiteral("Guten Tag"));
    command(600);
    EXPECT_EQ(program().appState.Language, 1);
    EXPECT_EQ(inputText(), "");
    mainWindow().input().setPlainText(QStringLiteral("Good morning"));
    command(601);
    EXPECT_EQ(inputText(), "Guten Tag");
    command(600);
    EXPECT_EQ(inputText(), "Good morning");
    EXPECT_EQ(mainWindow().languageLabel().text(), " English US");
}

TEST_F(WindowProcedureTest, SliderMovesReachTheEngineAndTheStateRecord) {
    startTwoLanguages();
    m_engine.clearCalls();
    QSlider& pitch = mainWindow().pitch();
    pitch.setFocus();
    pitch.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    drain();
    EXPECT_EQ(program().appState.Pitch[1], 3);
    ASSERT_EQ(m_engine.callsTo("EngineSetVoiceParameters").size(), 1u);
    EXPECT_EQ(m_engine.callsTo("EngineSetVoiceParameters")[0],
              (EngineCall{"EngineSetVoiceParameters", {1, 1, 3, -1, 9, 3, 5, -1}}));

    m_engine.clearCalls();
    pitch.setValue(7);  // the program's own slider settings are not user moves
    drain();
    EXPECT_TRUE(m_engine.callsTo("EngineSetVoiceParameters").empty());
}

TEST_F(WindowProcedureTest, FunctionKeysReachTheirCommandsAndF4AloneDoesNothing) {
    startTwoLanguages();
    mainWindow().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow()));
    m_engine.clearCalls();
    QTest::keyClick(&mainWindow(), Qt::Key_F4);
    drain();
    EXPECT_TRUE(m_engine.calls().empty());
    EXPECT_TRUE(m_recorders.messages->log().empty());

    QTest::keyClick(&mainWindow(), Qt::Key_F2);
    drain();
    EXPECT_EQ(program().appState.Volume[1], 8);
    EXPECT_EQ(mainWindow().volume().value(), 8);

    QTest::keyClick(&mainWindow(), Qt::Key_F1);
    drain();
    EXPECT_EQ(m_recorders.help->requests().size(), 1u);
}

TEST_F(WindowProcedureTest, FunctionKeysWorkWhileTheMiniPanelIsShown) {
    startTwoLanguages("SAYRUN");
    mainWindow().showMinimized();
    drain();
    shell::MiniPanel& panel = *m_program->miniPanel();
    ASSERT_TRUE(panel.isVisible());
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    m_engine.clearCalls();
    QTest::keyClick(&panel, Qt::Key_F2);
    drain();
    EXPECT_EQ(program().appState.Volume[1], 8);
    EXPECT_EQ(m_engine.callsTo("EngineSetVoiceParameters").size(), 1u);
}

TEST_F(WindowProcedureTest, LanguageNamesInTheAnsiCodePageReadTheSameEverywhere) {
    // 0xE7 is a c with cedilla, 0x80 the euro sign in the ANSI code page.
    m_engine.addLanguage(
        "Fran\xE7"
        "ais",
        "FR \x80", 33);
    startTwoLanguages();
    const QString name = QString::fromUtf8("Fran\u00e7ais FR \u20ac");
    ASSERT_NE(mainWindow().menuBar()->action(602), nullptr);
    EXPECT_EQ(mainWindow().menuBar()->action(602)->text(), name);
    command(602);
    send(context::UM_REFRESH);
    EXPECT_EQ(mainWindow().languageLabel().text(), QStringLiteral(" ") + name);
}

TEST_F(WindowProcedureTest, StopEngineMessageStopsAndReportsFailure) {
    startTwoLanguages();
    m_engine.setStatus("EngineStop", -12);
    send(context::UM_STOPENGINE);
    ASSERT_EQ(m_engine.callsTo("EngineStop").size(), 1u);
    EXPECT_EQ(m_engine.callsTo("EngineStop")[0], (EngineCall{"EngineStop", {1, 1}}));
    ASSERT_EQ(m_recorders.messages->boxes().size(), 1u);
    EXPECT_EQ(m_recorders.messages->boxes()[0].owner, m_program->mainWindow());
}

TEST_F(WindowProcedureTest, GenerationRequestAnswersTheDialog) {
    startTwoLanguages();
    struct Dialog : QObject {
        bool done = false;
        bool event(QEvent* event) override {
            done = done || event->type() == static_cast<QEvent::Type>(context::UM_GENPCMDONE);
            return QObject::event(event);
        }
    } dialog;
    send(context::UM_GENPCM, nullptr, reinterpret_cast<intptr_t>(&dialog));
    EXPECT_TRUE(dialog.done);
}

TEST_F(WindowProcedureTest, FocusMakesTheWindowTheHookTarget) {
    startTwoLanguages("SAYRUN");
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(m_program->miniPanel(), &activate);
    EXPECT_EQ(program().hooks.hookTargetWindow, m_program->miniPanel());
    whenModalShown([](QDialog& dialog) { dialog.reject(); });
    command(context::IDM_ABOUT);
    EXPECT_EQ(program().hooks.hookTargetWindow, m_program->mainWindow());
}

TEST_F(WindowProcedureTest, EachDialogGivesTheHookTargetBackToTheWindowThatOpenedIt) {
    startTwoLanguages("SAYRUN");
    for (int dialog : {context::IDM_ABOUT, context::IDM_ABOUTENGINE, context::IDM_SETACCEL}) {
        whenModalShown([this](QDialog& shown) {
            EXPECT_EQ(shown.parentWidget(), m_program->miniPanel());
            program().hooks.hookTargetWindow = m_program->mainWindow();
            shown.reject();
        });
        command(dialog, m_program->miniPanel());
        EXPECT_EQ(program().hooks.hookTargetWindow, m_program->miniPanel()) << dialog;
    }
}

TEST_F(WindowProcedureTest, MinimiseInExtendedModeSwapsInTheMiniPanelAndBack) {
    startTwoLanguages("SAYRUN");
    shell::MiniPanel& panel = *m_program->miniPanel();
    mainWindow().input().setPlainText(QStringLiteral("Hallo Welt"));
    selectInput(0, 5);

    mainWindow().showMinimized();
    drain();
    EXPECT_FALSE(mainWindow().isVisible());
    EXPECT_TRUE(panel.isVisible());
    EXPECT_TRUE(panel.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(panel.height(), 47);
    EXPECT_GE(panel.width(), 148) << "wide enough for its buttons and its caption";
    EXPECT_FALSE(panel.buttons().button(shell::ButtonSet::kPause).isEnabled());
    EXPECT_EQ(program().appState.PlayMode, context::IDM_SOURCECLIPBOARD);
    EXPECT_EQ(m_program->procedure().savedPlayMode(), context::IDM_SOURCEKEYBOARD);
    EXPECT_EQ(program().keyboard.keyboardText[1], "Hallo Welt");
    EXPECT_FALSE(mainWindow().buttons().isLoaded());
    EXPECT_NE(program().hooks.windowSwitchHook, nullptr);

    mainWindow().input().clear();
    panel.showMaximized();
    drain();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_TRUE(mainWindow().isVisible());
    EXPECT_FALSE(mainWindow().isMinimized());
    EXPECT_EQ(program().appState.PlayMode, context::IDM_SOURCEKEYBOARD);
    EXPECT_EQ(inputText(), "Hallo Welt");
    EXPECT_EQ(mainWindow().input().textCursor().selectedText(), "Hallo");
    EXPECT_EQ(m_recorders.clipboard->ansiText(), std::optional<std::string>("Hallo"));
    EXPECT_FALSE(panel.buttons().isLoaded());
    EXPECT_EQ(program().hooks.windowSwitchHook, nullptr);
}

TEST_F(WindowProcedureTest, MiniPanelShownWhileSpeakingHasTheSpeakingLook) {
    startTwoLanguages("SAYRUN");
    program().session.speechState = context::SpeechState::Speaking;
    mainWindow().showMinimized();
    drain();
    const shell::ButtonSet& buttons = m_program->miniPanel()->buttons();
    EXPECT_TRUE(m_program->miniPanel()->isVisible());
    EXPECT_TRUE(buttons.isLoaded());
    EXPECT_TRUE(buttons.isActive(shell::ButtonSet::kPause));
    EXPECT_FALSE(buttons.isActive(shell::ButtonSet::kSpeak));
    EXPECT_TRUE(buttons.isActive(shell::ButtonSet::kStop));
    EXPECT_TRUE(buttons.button(shell::ButtonSet::kStop).isEnabled());
}

TEST_F(WindowProcedureTest, ImageButtonsSayWhatTheyDo) {
    startTwoLanguages("SAYRUN");
    const shell::ButtonSet& panel = m_program->miniPanel()->buttons();
    EXPECT_EQ(panel.button(shell::ButtonSet::kStop).text(), "Stop");
    EXPECT_EQ(panel.button(shell::ButtonSet::kStop).accessibleName(), "Stop");
    EXPECT_EQ(panel.button(shell::ButtonSet::kSpeak).accessibleName(), "Speak");
    const shell::ButtonSet& main = mainWindow().buttons();
    EXPECT_EQ(main.button(shell::ButtonSet::kSpeak).accessibleName(), "Speak");
    EXPECT_EQ(main.button(shell::ButtonSet::kStop).accessibleName(), "Stop");
    EXPECT_EQ(main.button(shell::ButtonSet::kPause).accessibleName(), "Pause or resume");
}

TEST_F(WindowProcedureTest, PaintingLoadsTheIdlePictures) {
    startTwoLanguages();
    mainWindow().grab();
    drain();
    const shell::ButtonSet& buttons = mainWindow().buttons();
    EXPECT_TRUE(buttons.isLoaded());
    EXPECT_EQ(buttons.button(shell::ButtonSet::kSpeak).pictureId(), 118);
    EXPECT_EQ(buttons.button(shell::ButtonSet::kStop).pictureId(), 124);
    EXPECT_EQ(buttons.button(shell::ButtonSet::kPause).pictureId(), 125);
}

TEST_F(WindowProcedureTest, EngineNotificationsReachTheProgramsHandler) {
    startTwoLanguages();
    std::vector<int32_t> codes;
    program().session.engineNotify = [&codes](int32_t code, int32_t, int32_t) {
        codes.push_back(code);
    };
    ASSERT_NE(m_engine.callback(), nullptr);
    EXPECT_EQ(m_engine.callback()(0, 7003, 2, 4), 0);
    EXPECT_EQ(codes, std::vector<int32_t>{7003});
}

TEST_F(WindowProcedureTest, OpenPutsTheFileNameIntoTheTitle) {
    startTwoLanguages();
    program().appState.FileType = 0;
    command(context::IDM_OPEN);  // cancelled: nothing changes
    EXPECT_EQ(mainWindow().windowTitle(), "Quenvar Voxtrial");
    EXPECT_EQ(program().appState.FileType, 0);

    m_recorders.fileDialogs->queueAnswer(QStringLiteral("/texts/long.name/story.part1.txt"));
    command(context::IDM_OPEN);
    EXPECT_EQ(mainWindow().windowTitle(), "Quenvar Voxtrial - story.part1.txt");
    EXPECT_EQ(program().appState.textFilePath, "/texts/long.name/story.part1.txt");
    EXPECT_EQ(program().appState.FileType, 1);
    const auto& requests = m_recorders.fileDialogs->requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].title, "Open a Text File");
    EXPECT_EQ(requests[0].directory.toStdString(), program().paths.startupDirectory);
    EXPECT_EQ(requests[0].owner, m_program->mainWindow());
}

TEST_F(WindowProcedureTest, RejectedStoredFrequencyFallsBackByTheLanguagesRates) {
    writeSettings(twoLanguageSettings(2, 137, 7));
    m_engine.setInstanceInfo(11, true, false, true);
    m_engine.setStatus("EngineSetFrequency", -13);
    ASSERT_EQ(start(), std::nullopt);
    EXPECT_EQ(program().appState.Frequency, 11);
    EXPECT_TRUE(program().controls.menuBar->isChecked(context::IDM_FREQ11K));
    EXPECT_FALSE(program().controls.menuBar->isChecked(context::IDM_FREQ8K));
    EXPECT_TRUE(m_recorders.messages->log().empty());
}

}  // namespace
}  // namespace shelltest
