#include <sys/stat.h>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fstream>

#include "context/commandids.h"
#include "engine/errorreport.h"
#include "engine/menubar.h"
#include "platform/postedmessage.h"
#include "platform/terminationrequests.h"
#include "shellfixture.h"
#include "windowprocedure.h"

namespace shelltest {
namespace {

using platform::BeepKind;
using platform::MessageIcon;
using platform::MessageResult;
using testsupport::EngineCall;

class ProgramTest : public ShellFixture {};

TEST_F(ProgramTest, StartsWithTheStoredLanguageAndArmsTheQuestionSound) {
    writeUserProfile("[sounds]\nSystemQuestion=chimes.wav\n");
    startTwoLanguages();

    const context::ProgramContext& state = program();
    EXPECT_EQ(state.paths.settingsPath, (startupDirectory() / "SAYBENCH.INI").string());
    EXPECT_EQ(state.paths.helpPath, (startupDirectory() / "SAYBENCH.hlp").string());
    EXPECT_FALSE(state.extendedMode);
    EXPECT_EQ(state.appState.Language, 2);
    EXPECT_EQ(state.sound.savedQuestionSound, "chimes.wav");
    EXPECT_NE(readFile(userProfilePath()).find("SystemQuestion=ding.wav"), std::string::npos);
    EXPECT_TRUE(state.controls.inputWindow->isEnabled());
    EXPECT_TRUE(m_recorders.messages->log().empty());

    const std::vector<std::string> operations = m_engine.operations();
    ASSERT_FALSE(operations.empty());
    EXPECT_EQ(operations.front(), "EngineOpen");
    EXPECT_EQ(m_engine.callsTo("EngineSetCallback").size(), 1u);
    ASSERT_EQ(m_engine.callsTo("EngineSelectLanguage").size(), 1u);
    EXPECT_EQ(m_engine.callsTo("EngineSelectLanguage")[0],
              (EngineCall{"EngineSelectLanguage", {1, 22, 1}}));
    EXPECT_TRUE(program().controls.menuBar->isChecked(601));
    EXPECT_TRUE(mainWindow().isVisible());
    EXPECT_EQ(mainWindow().windowTitle(), "Quenvar Voxtrial");
}

TEST_F(ProgramTest, InputWindowIsDisabledForOtherSources) {
    writeSettings(twoLanguageSettings(2, 135));
    ASSERT_EQ(start(), std::nullopt);
    EXPECT_FALSE(program().controls.inputWindow->isEnabled());
}

TEST_F(ProgramTest, MissingSettingsFileEndsTheStartWithItsMessage) {
    EXPECT_EQ(start(), 0);
    const auto boxes = m_recorders.messages->boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, engine::errorText(104));
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_TRUE(m_engine.callsTo("EngineSetCallback").empty());
}

TEST_F(ProgramTest, FailedEngineOpenIsReportedWithoutOwnerAndEndsWithNoLanguage) {
    writeSettings(twoLanguageSettings());
    m_engine.setLanguageCount(0);
    m_engine.setStatus("EngineOpen", -31);
    EXPECT_EQ(start(), 0);
    const auto boxes = m_recorders.messages->boxes();
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, engine::errorText(-31));
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_TRUE(m_engine.callsTo("EngineSelectLanguage").empty());
}

TEST_F(ProgramTest, StoredLanguageNotOfferedFallsBackToTheFirstAndIsWrittenAtExit) {
    writeSettings(twoLanguageSettings(7));
    ASSERT_EQ(start(), std::nullopt);
    EXPECT_EQ(program().appState.Language, 1);
    EXPECT_TRUE(m_recorders.messages->boxes().empty());

    command(101);
    EXPECT_TRUE(m_program->hasEnded());
    EXPECT_NE(readFile(settingsPath()).find("Language=1"), std::string::npos);
}

TEST_F(ProgramTest, NoSelectableLanguageEndsWithCodeZeroAfterTheBoxes) {
    writeSettings(twoLanguageSettings());
    m_engine.setStatus("EngineSelectLanguage", -28);
    EXPECT_EQ(start(), 0);
    const auto boxes = m_recorders.messages->boxes();
    ASSERT_GE(boxes.size(), 2u);
    for (const testsupport::MessageEvent& box : boxes)
        EXPECT_EQ(box.text, engine::errorText(-28));
}

TEST_F(ProgramTest, OnlyTheExactWordStartsExtendedMode) {
    for (const char* line : {"SAYRUN ", "sayrun", "SAYRUN x", " SAYRUN", ""}) {
        EXPECT_FALSE(shell::Program::isExtendedMode(line)) << '"' << line << '"';
    }
    EXPECT_TRUE(shell::Program::isExtendedMode("SAYRUN"));
}

TEST_F(ProgramTest, ExtendedModeHasTheGenFileMenuAndTheHiddenMiniPanel) {
    startTwoLanguages("SAYRUN");
    EXPECT_TRUE(program().extendedMode);
    ASSERT_NE(m_program->miniPanel(), nullptr);
    EXPECT_FALSE(m_program->miniPanel()->isVisible());
    EXPECT_EQ(m_program->miniPanel()->windowTitle(), "Quenvar Voxkit 1.00");
    EXPECT_TRUE(program().controls.menuBar->topMenu(3)->title() == "&GenFile");
    EXPECT_NE(program().controls.menuBar->action(134), nullptr);
    EXPECT_TRUE(program().controls.menuBar->action(134)->isEnabled());
}

TEST_F(ProgramTest, NormalModeHasNoMiniPanelAndHelpAtPositionThree) {
    startTwoLanguages();
    EXPECT_EQ(m_program->miniPanel(), nullptr);
    EXPECT_EQ(program().controls.menuBar->topMenu(3)->title(), "&Help");
    EXPECT_EQ(program().controls.menuBar->action(134), nullptr);
}

TEST_F(ProgramTest, SecondProgramInTheSameDirectoryIsRefused) {
    startTwoLanguages();
    ShellFixture::drain();

    testsupport::RecordingServices second = testsupport::makeRecordingServices();
    testsupport::RecordingMessageService* messages = second.messages;
    shell::ProgramOptions options;
    options.engine = &testsupport::FakeEngine::ops();
    options.services = std::move(second.services);
    options.userProfile = userProfilePath();
    shell::Program other(std::move(options));
    const std::size_t callsBefore = m_engine.calls().size();
    EXPECT_EQ(other.start({}), 0);
    EXPECT_EQ(m_engine.calls().size(), callsBefore);
    ASSERT_EQ(messages->log().size(), 2u);
    EXPECT_EQ(messages->log()[0].beep, BeepKind::Stop);
    EXPECT_EQ(messages->log()[1].text, "Voxtrial is already running!");
    EXPECT_EQ(messages->log()[1].caption, "Warning");
    EXPECT_EQ(messages->log()[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages->log()[1].owner, nullptr);
}

TEST_F(ProgramTest, QuitAnsweredNoKeepsRunning) {
    startTwoLanguages();
    m_recorders.messages->queueAnswer(MessageResult::No);
    m_recorders.messages->onShow = [this](const testsupport::MessageEvent&) {
        EXPECT_TRUE(program().hooks.hooksSuspended);
    };
    command(101);
    EXPECT_FALSE(m_program->hasEnded());
    EXPECT_FALSE(program().hooks.hooksSuspended);
    EXPECT_TRUE(m_engine.callsTo("EngineClose").empty());
    const auto log = m_recorders.messages->log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].beep, BeepKind::Question);
    EXPECT_EQ(log[1].text, "Do you want to quit the Quenvar Voxtrial?");
    EXPECT_EQ(log[1].caption, "Quenvar Voxtrial");
    EXPECT_EQ(log[1].icon, MessageIcon::Question);
    EXPECT_EQ(log[1].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(log[1].owner, m_program->mainWindow());
}

TEST_F(ProgramTest, QuitWhileSpeakingIsRefused) {
    startTwoLanguages();
    program().session.speechState = context::SpeechState::Paused;
    m_recorders.messages->queueAnswer(MessageResult::Yes);
    QCloseEvent close;
    QCoreApplication::sendEvent(m_program->mainWindow(), &close);
    ShellFixture::drain();
    EXPECT_FALSE(m_program->hasEnded());
    EXPECT_NE(m_program->mainWindow(), nullptr);
    EXPECT_TRUE(program().hooks.hooksSuspended);
    EXPECT_TRUE(m_engine.callsTo("EngineClose").empty());
    const auto boxes = m_recorders.messages->boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Text-to-Speech system is running!");
    EXPECT_EQ(boxes[1].caption, "Warning");
    EXPECT_EQ(boxes[1].icon, MessageIcon::Exclamation);
}

TEST_F(ProgramTest, QuitWhileIdleClosesWritesRestoresAndEnds) {
    writeUserProfile("[sounds]\nSystemQuestion=chimes.wav\n");
    startTwoLanguages();
    command(114);  // Defaults for German: volume 8, pitch 5, rate 5
    m_engine.clearCalls();
    m_engine.setStatus("EngineClose", -26);

    QCloseEvent close;
    QCoreApplication::sendEvent(m_program->mainWindow(), &close);
    ShellFixture::drain();

    EXPECT_TRUE(m_program->hasEnded());
    EXPECT_EQ(m_program->exitCode(), 0);
    EXPECT_EQ(m_program->mainWindow(), nullptr);
    ASSERT_EQ(m_engine.callsTo("EngineClose").size(), 1u);
    EXPECT_EQ(m_recorders.messages->boxes().back().text, engine::errorText(-26));
    const std::string settings = readFile(settingsPath());
    EXPECT_NE(settings.find("[Language2]\nVolume=8\nPitch=5\nRate=5"), std::string::npos)
        << settings;
    EXPECT_NE(readFile(userProfilePath()).find("SystemQuestion=chimes.wav"), std::string::npos);
}

// A signal ends the program as Exit does, without the question: over an open dialog, whose
// loop it ends first, and during a speech, which it stops first.
TEST_F(ProgramTest, TerminationRequestEndsOverADialogAndDuringSpeechWritingTheSettings) {
    for (const bool speaking : {false, true}) {
        SCOPED_TRACE(speaking ? "speaking" : "About box open");
        startTwoLanguages();
        command(114);  // Defaults for German: volume 8, pitch 5, rate 5
        m_engine.clearCalls();
        const platform::TerminationRequests requests([this] { m_program->terminate(); });
        if (speaking) {
            program().appState.PlayMode = context::IDM_SOURCEKEYBOARD;
            mainWindow().input().setPlainText(QStringLiteral("Hallo Welt"));
            m_engine.addAction([] { std::raise(SIGTERM); });
            command(context::IDC_SPEAK);
        } else {
            whenModalShown([](QDialog&) { std::raise(SIGTERM); });
            command(context::IDM_ABOUT);
        }
        for (int turn = 0; turn < 100 && !m_program->hasEnded(); ++turn) {
            QTest::qWait(5);
        }
        EXPECT_TRUE(m_program->hasEnded());
        EXPECT_EQ(m_program->exitCode(), 0);
        EXPECT_TRUE(m_recorders.messages->boxes().empty());
        EXPECT_EQ(m_engine.callsTo("EngineStop").size(), speaking ? 1u : 0u);
        EXPECT_EQ(m_engine.callsTo("EngineClose").size(), 1u);
        EXPECT_NE(readFile(settingsPath()).find("[Language2]\nVolume=8\nPitch=5\nRate=5"),
                  std::string::npos);
        m_program.reset();
        m_recorders = testsupport::makeRecordingServices();
    }
}

TEST_F(ProgramTest, MiniPanelLeftAfterTheMainWindowIsGoneHandlesItsEventsSafely) {
    startTwoLanguages("SAYRUN");
    command(context::IDM_EXIT);
    ASSERT_TRUE(m_program->hasEnded());
    ASSERT_EQ(m_program->mainWindow(), nullptr);
    shell::MiniPanel* panel = m_program->miniPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(program().controls.menuBar, nullptr);

    platform::sendMessage(panel, context::UM_REFRESH);
    command(context::IDM_DEFAULTS, panel);
    command(context::IDM_LANGUAGE1, panel);
    panel->showMaximized();
    drain();
    EXPECT_EQ(m_program->mainWindow(), nullptr);
}

TEST_F(ProgramTest, QuestionSoundWithoutAnEntryIsRestoredAsDing) {
    startTwoLanguages();
    EXPECT_EQ(program().sound.savedQuestionSound, "ding.wav");
    command(101);
    EXPECT_NE(readFile(userProfilePath()).find("SystemQuestion=ding.wav"), std::string::npos);
}

// A set-up frozen by making its files read-only stays as it is, and the program says nothing
// about the writes it could not make.
TEST_F(ProgramTest, ReadOnlySettingsAndUserProfileStayAsTheyAreWithoutAMessage) {
    const std::string settings = twoLanguageSettings();
    const std::string profile = "[sounds]\nSystemQuestion=chimes.wav\n";
    writeSettings(settings);
    writeUserProfile(profile);
    ASSERT_EQ(::chmod(settingsPath().c_str(), 0444), 0);
    ASSERT_EQ(::chmod(userProfilePath().c_str(), 0444), 0);
    ASSERT_EQ(start(), std::nullopt);
    command(114);  // Defaults: values to write back
    command(context::IDM_EXIT);

    EXPECT_TRUE(m_program->hasEnded());
    EXPECT_EQ(readFile(settingsPath()), settings);
    EXPECT_EQ(readFile(userProfilePath()), profile);
    const auto log = m_recorders.messages->log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].text, "Do you want to quit the Quenvar Voxtrial?");
}

// Two programs started in different folders share the user's profile: the second must not
// take the first one's question sound for the user's, and the last to end puts it back.
TEST_F(ProgramTest, OverlappingProgramsInTwoFoldersGiveTheUsersQuestionSoundBack) {
    const std::string profile = "[sounds]\nSystemQuestion=chimes.wav\n";
    writeUserProfile(profile);
    startTwoLanguages();

    QTemporaryDir otherFolder;
    std::filesystem::current_path(otherFolder.path().toStdString());
    std::ofstream("SAYBENCH.INI") << twoLanguageSettings();
    testsupport::RecordingServices recorders = testsupport::makeRecordingServices();
    shell::ProgramOptions options;
    options.engine = &testsupport::FakeEngine::ops();
    options.services = std::move(recorders.services);
    options.userProfile = userProfilePath();
    shell::Program other(std::move(options));
    ASSERT_EQ(other.start({}), std::nullopt);
    std::filesystem::current_path(startupDirectory());
    EXPECT_EQ(other.context().sound.savedQuestionSound, "chimes.wav");

    command(context::IDM_EXIT);
    EXPECT_NE(readFile(userProfilePath()).find("SystemQuestion=ding.wav"), std::string::npos)
        << "the other program still runs";
    command(context::IDM_EXIT, other.mainWindow());
    ASSERT_TRUE(other.hasEnded());
    EXPECT_EQ(readFile(userProfilePath()), profile);
}

}  // namespace
}  // namespace shelltest
