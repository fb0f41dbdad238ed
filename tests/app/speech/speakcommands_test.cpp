#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <fstream>

#include "context/commandids.h"
#include "engine/menubar.h"
#include "resources/buttonpictures.h"
#include "shellfixture.h"

namespace speechtest {
namespace {

using context::SpeechState;
using shell::ButtonSet;
using testsupport::EngineArg;
using testsupport::EngineCall;
using Args = std::vector<EngineArg>;

// The controls a speech changes, as one record.
struct ControlLook {
    SpeechState state = SpeechState::Idle;
    bool speakEnabled = false;
    bool stopEnabled = false;
    bool pauseEnabled = false;
    int pausePicture = 0;
    bool aboutEnabled = false;
    bool demoEnabled = false;
    bool menusEnabled = false;
    bool slidersEnabled = false;
    bool operator==(const ControlLook&) const = default;
};

void PrintTo(const ControlLook& look, std::ostream* out) {
    *out << "{state " << static_cast<int>(look.state) << " speak " << look.speakEnabled << " stop "
         << look.stopEnabled << " pause " << look.pauseEnabled << " picture " << look.pausePicture
         << " about " << look.aboutEnabled << " demo " << look.demoEnabled << " menus "
         << look.menusEnabled << " sliders " << look.slidersEnabled << '}';
}

constexpr ControlLook kIdle{
    SpeechState::Idle, true, false, false, resources::kPauseInactive, true, true, true, true};
constexpr ControlLook kSpeaking{
    SpeechState::Speaking, false, true, true, resources::kPauseActive, false, false, false, false};
constexpr ControlLook kPaused{
    SpeechState::Paused, false, true, true, resources::kResume, false, false, false, false};

class SpeakCommandsTest : public shelltest::ShellFixture {
  protected:
    void startWith(int playMode) {
        writeSettings(shelltest::twoLanguageSettings(1, playMode));
        ASSERT_EQ(start(), std::nullopt);
        m_engine.clearCalls();
    }
    ControlLook look() const {
        const shell::MainWindow& window = mainWindow();
        const ButtonSet& buttons = window.buttons();
        return ControlLook{program().session.speechState,
                           buttons.button(ButtonSet::kSpeak).isEnabled(),
                           buttons.button(ButtonSet::kStop).isEnabled(),
                           buttons.button(ButtonSet::kPause).isEnabled(),
                           buttons.button(ButtonSet::kPause).pictureId(),
                           window.about().isEnabled(),
                           window.demo().isEnabled(),
                           window.menuBar()->topMenu(0)->menuAction()->isEnabled(),
                           window.volume().isEnabled()};
    }
    void lookAfter(int commandId) {
        m_engine.addAction([this, commandId] {
            command(commandId);
            m_looks.push_back(look());
        });
    }

    std::vector<ControlLook> m_looks;
};

TEST_F(SpeakCommandsTest, PauseResumeAndStopArriveInsideARunningSpeech) {
    startWith(context::IDM_SOURCEKEYBOARD);
    mainWindow().input().setPlainText("Speak to me");
    m_engine.addAction([this] { m_looks.push_back(look()); });
    lookAfter(context::IDC_SPEAK);
    lookAfter(context::IDC_DEMO);
    lookAfter(context::IDC_PAUSE);
    lookAfter(context::IDC_PAUSE);
    lookAfter(context::IDC_STOP);
    command(context::IDC_SPEAK);
    m_looks.push_back(look());

    ControlLook stopped = kIdle;
    stopped.menusEnabled = stopped.slidersEnabled = false;  // the speak bracket still runs
    const std::vector<ControlLook> expected{kSpeaking, kSpeaking, kSpeaking, kPaused,
                                            kSpeaking, stopped,   kIdle};
    EXPECT_EQ(m_looks, expected);
    const std::vector<std::string> operations{"EngineSetVoiceParameters", "EngineSpeak",
                                              "EnginePause", "EngineResume", "EngineStop"};
    EXPECT_EQ(m_engine.operations(), operations);
    EXPECT_EQ(mainWindow().input().toPlainText(), "Speak to me");
}

TEST_F(SpeakCommandsTest, TheResumePictureOutlastsARepaintAndStopWhileIdleStillStops) {
    startWith(context::IDM_SOURCEKEYBOARD);
    mainWindow().input().setPlainText("text");
    m_engine.addAction([this] {
        command(context::IDC_PAUSE);
        mainWindow().buttons().redraw();
        m_looks.push_back(look());
    });
    command(context::IDC_SPEAK);
    command(context::IDC_PAUSE);
    command(context::IDC_STOP);
    m_looks.push_back(look());

    EXPECT_EQ(m_looks, (std::vector<ControlLook>{kPaused, kIdle}));
    EXPECT_EQ(m_engine.callsTo("EngineStop"),
              (std::vector<EngineCall>{{"EngineStop", Args{1, 1}}}));
}

TEST_F(SpeakCommandsTest, AboutSpeaksTheEngineTextWithoutEchoAndKeepsTheWindow) {
    startWith(context::IDM_SOURCEKEYBOARD);
    program().appState.TextOut = 1;
    mainWindow().input().setPlainText("mine");
    m_engine.setAboutText("About ~this engine");
    m_engine.addNotification(SAYMGR_NOTIFY_CHUNK, 5);
    m_engine.addAction([this] { m_looks.push_back(look()); });
    command(context::IDC_ABOUTSPEAK);

    EXPECT_EQ(
        m_engine.callsTo("EngineSpeak"),
        (std::vector<EngineCall>{{"EngineSpeak", Args{1, 1, "About \x1Bthis engine", 18, 1}}}));
    EXPECT_EQ(program().appState.TextOut, 1);
    EXPECT_EQ(mainWindow().input().toPlainText(), "mine");
    ASSERT_EQ(m_looks.size(), 1u);
    EXPECT_FALSE(m_looks[0].speakEnabled);
    EXPECT_FALSE(m_looks[0].menusEnabled);
    EXPECT_EQ(look(), kIdle);
}

TEST_F(SpeakCommandsTest, DemoSpeaksTheDemoFileAndPutsTheSourceBack) {
    startWith(context::IDM_SOURCEKEYBOARD);
    std::ofstream(startupDirectory() / "DEMO_EN.TXT") << "Hello ~Ddemo";
    program().appState.textFilePath = "mine.txt";
    program().appState.FileType = 0;
    command(context::IDC_DEMO);
    command(context::IDM_LANGUAGE1 + 1);  // German: its demo file is missing
    command(context::IDC_DEMO);

    EXPECT_EQ(m_engine.callsTo("EngineSpeak"),
              (std::vector<EngineCall>{{"EngineSpeak", Args{1, 1, "Hello   demo", 12, 1}}}));
    ASSERT_EQ(m_recorders.messages->boxes().size(), 1u);
    EXPECT_EQ(m_recorders.messages->boxes()[0].text, "No file has been selected!");
    const context::AppState& state = program().appState;
    EXPECT_EQ(state.PlayMode, context::IDM_SOURCEKEYBOARD);
    EXPECT_EQ(state.FileType, 0);
    EXPECT_EQ(state.textFilePath, "mine.txt");
}

TEST_F(SpeakCommandsTest, LeavingTheKeyboardSourceAndComingBackRestoresTextAndSelection) {
    startWith(context::IDM_SOURCEKEYBOARD);
    QPlainTextEdit& input = mainWindow().input();
    input.setPlainText("keep this text");
    selectInput(5, 9);

    command(context::IDM_SOURCEFILE);
    EXPECT_EQ(input.toPlainText(), "");
    EXPECT_FALSE(input.isEnabled());
    EXPECT_TRUE(mainWindow().menuBar()->isChecked(context::IDM_SOURCEFILE));

    command(context::IDM_SOURCEKEYBOARD);
    EXPECT_EQ(input.toPlainText(), "keep this text");
    EXPECT_TRUE(input.isEnabled());
    EXPECT_EQ(input.textCursor().selectedText(), "this");
    EXPECT_EQ(m_recorders.clipboard->ansiText(), std::optional<std::string>("this"));
    EXPECT_EQ(mainWindow().sourceLabel().text(), " Keyboard");
    EXPECT_FALSE(mainWindow().menuBar()->isChecked(context::IDM_SOURCEFILE));
    EXPECT_TRUE(mainWindow().menuBar()->isChecked(context::IDM_SOURCEKEYBOARD));
}

TEST_F(SpeakCommandsTest, TheMiniPanelSpeaksTheClipboardWithItsOwnButtons) {
    writeSettings(shelltest::twoLanguageSettings(1, context::IDM_SOURCEKEYBOARD));
    ASSERT_EQ(start("SAYRUN"), std::nullopt);
    mainWindow().showMinimized();
    drain();
    shell::MiniPanel& panel = *m_program->miniPanel();
    ASSERT_TRUE(panel.isVisible());
    m_engine.clearCalls();
    m_recorders.clipboard->setAnsiText("copied words");
    std::vector<bool> panelPause;
    m_engine.addAction([&] {
        panelPause.push_back(panel.buttons().button(ButtonSet::kPause).isEnabled());
        command(context::IDC_PAUSE, &panel);
        panelPause.push_back(panel.buttons().button(ButtonSet::kPause).pictureId() ==
                             resources::kResume);
    });
    command(context::IDC_SPEAK, &panel);

    EXPECT_EQ(m_engine.callsTo("EngineSpeak"),
              (std::vector<EngineCall>{{"EngineSpeak", Args{1, 1, "copied words", 12, 1}}}));
    EXPECT_EQ(panelPause, (std::vector<bool>{true, true}));
    EXPECT_FALSE(panel.buttons().button(ButtonSet::kPause).isEnabled());
    EXPECT_EQ(panel.buttons().button(ButtonSet::kSpeak).text(), "Speak");
}

}  // namespace
}  // namespace speechtest
