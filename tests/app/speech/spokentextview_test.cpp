#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>
#include <fstream>

#include "context/commandids.h"
#include "platform/postedmessage.h"
#include "shellfixture.h"

namespace speechtest {
namespace {

using namespace std::chrono_literals;

// What the input window showed, and what was selected in it, at one moment of a speech.
struct Shown {
    QString text;
    QString selected;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& shown, std::ostream* out) {
    *out << '"' << shown.text.toStdString() << "\" [" << shown.selected.toStdString() << ']';
}

class SpokenTextViewTest : public shelltest::ShellFixture {
  protected:
    void startWith(int playMode, int textOut) {
        writeSettings(shelltest::twoLanguageSettings(1, playMode));
        ASSERT_EQ(start(), std::nullopt);
        program().appState.TextOut = textOut;
    }
    void speakFile(const std::string& bytes, int fileType) {
        const auto path = startupDirectory() / "text.txt";
        std::ofstream(path, std::ios::binary) << bytes;
        program().appState.textFilePath = path.string();
        program().appState.FileType = fileType;
        command(context::IDC_SPEAK);
    }
    // Plays a notification, then notes what the window shows.
    void notifyAndLook(int32_t code, int32_t value1, int32_t value2 = 0) {
        m_engine.addNotification(code, value1, value2);
        m_engine.addAction([this] { look(); });
    }
    // The mark of `word`, found in `text` from `from` on.
    void markWord(const std::string& text, const std::string& word, std::size_t from = 0) {
        notifyAndLook(SAYMGR_NOTIFY_MARK1, static_cast<int32_t>(word.size()),
                      static_cast<int32_t>(text.find(word, from)));
    }

    // Plays the rest of the script at `time` of the program's clock.
    void at(std::chrono::milliseconds time) {
        m_engine.addAction([this, time] { m_clock = time; });
    }
    void look() {
        QPlainTextEdit& input = mainWindow().input();
        m_seen.push_back({input.toPlainText(), input.textCursor().selectedText()});
    }

    std::vector<Shown> m_seen;
    std::chrono::milliseconds m_clock{0};
};

TEST_F(SpokenTextViewTest, EachPieceIsShownCleanedAndTheMarksLandOnItsWords) {
    startWith(context::IDM_SOURCEFILE, 1);
    const std::string text = "  The  cat\r\n sat.\t\x1BP9 On the mat.";
    const std::size_t second = text.find("On");
    notifyAndLook(SAYMGR_NOTIFY_CHUNK, static_cast<int32_t>(second));
    markWord(text, "cat");
    markWord(text, "sat");
    notifyAndLook(SAYMGR_NOTIFY_CHUNK, static_cast<int32_t>(text.size() - second));
    markWord(text, "the");
    markWord(text, "mat");
    speakFile(text, 1);

    const QString first = "The cat sat. \x1BP9 ";
    const std::vector<Shown> expected{
        {first, ""},         {first, "cat"},         {first, "sat"},
        {"On the mat.", ""}, {"On the mat.", "the"}, {"On the mat.", "mat"},
    };
    EXPECT_EQ(m_seen, expected);
}

// A generation's notifications come much faster than speech: the window takes them at most
// every 40 ms, the last of a burst when its time comes, and nothing once the user's own text is
// back.
TEST_F(SpokenTextViewTest, AGenerationRefreshesTheEchoAtMostEvery40msAndNeverAfterItsEnd) {
    startWith(context::IDM_SOURCEFILE, 1);
    program().session.now = [this] { return context::SpeechObserver::Clock::time_point(m_clock); };
    const std::string text = "One two. Three four.";
    const auto path = startupDirectory() / "text.txt";
    std::ofstream(path, std::ios::binary) << text;
    program().appState.textFilePath = path.string();
    at(1000ms);
    notifyAndLook(SAYMGR_NOTIFY_CHUNK, 9);
    at(1010ms);
    markWord(text, "One");
    at(1045ms);
    markWord(text, "two");
    at(1050ms);
    notifyAndLook(SAYMGR_NOTIFY_CHUNK, 11);
    m_engine.addAction([this] {
        QTest::qWait(60);
        look();
    });
    at(1200ms);
    markWord(text, "Three");
    markWord(text, "four");
    QPlainTextEdit& input = mainWindow().input();
    input.setPlainText("my own words");
    selectInput(3, 6);
    m_recorders.fileDialogs->queueAnswer(
        QString::fromStdString((startupDirectory() / "o.wav").string()));
    command(context::IDM_GEN16WAVE);
    QTest::qWait(60);
    look();

    const QString first = "One two. ";
    const std::vector<Shown> expected{
        {first, ""},
        {first, ""},
        {first, "two"},
        {first, "two"},
        {"Three four.", ""},
        {"Three four.", "Three"},
        {"Three four.", "Three"},
        {"my own words", "own"},
    };
    EXPECT_EQ(m_seen, expected);
}

TEST_F(SpokenTextViewTest, WithoutTheEchoAMarkSelectsTheWordInTheSpokenSelection) {
    startWith(context::IDM_SOURCEKEYBOARD, 0);
    QPlainTextEdit& input = mainWindow().input();
    input.setPlainText("hello big world");
    selectInput(6, 15);
    notifyAndLook(SAYMGR_NOTIFY_CHUNK, 9);
    notifyAndLook(SAYMGR_NOTIFY_MARK1, 3, 0);
    notifyAndLook(SAYMGR_NOTIFY_MARK2, 5, 4);
    command(context::IDC_SPEAK);

    const std::vector<Shown> expected{
        {"hello big world", "big world"}, {"hello big world", "big"}, {"hello big world", "world"}};
    EXPECT_EQ(m_seen, expected);
}

TEST_F(SpokenTextViewTest, OnlyDosFilesAreShownConverted) {
    startWith(context::IDM_SOURCEFILE, 1);
    notifyAndLook(SAYMGR_NOTIFY_CHUNK, 4);
    speakFile("caf\x82", 0);
    speakFile("caf\xE9", 1);
    program().appState.PlayMode = context::IDM_SOURCECLIPBOARD;
    program().appState.FileType = 0;
    m_recorders.clipboard->setAnsiText("caf\x82");
    command(context::IDC_SPEAK);

    const std::vector<Shown> expected{{QString::fromUtf8("café"), ""},
                                      {QString::fromUtf8("café"), ""},
                                      {QString::fromUtf8("caf‚"), ""}};
    EXPECT_EQ(m_seen, expected);
}

TEST_F(SpokenTextViewTest, APieceLongerThanTheEchoBlocksIsCutAndNothingPastTheTextIsShown) {
    startWith(context::IDM_SOURCECLIPBOARD, 1);
    notifyAndLook(SAYMGR_NOTIFY_CHUNK, 4000);
    notifyAndLook(SAYMGR_NOTIFY_CHUNK, 500);
    m_recorders.clipboard->setAnsiText(std::string(4000, 'x') + "tail");
    command(context::IDC_SPEAK);

    EXPECT_EQ(m_seen, (std::vector<Shown>{{QString(2999, 'x'), ""}, {"tail", ""}}));
}

TEST_F(SpokenTextViewTest, TheChunkMessageEchoesOnlyDuringAnEchoedSpeech) {
    startWith(context::IDM_SOURCEFILE, 1);
    mainWindow().input().setPlainText("untouched");
    platform::sendMessage(&mainWindow(), context::NOTIFY_CHUNK, 4);
    EXPECT_EQ(mainWindow().input().toPlainText(), "untouched");

    m_engine.addAction([this] { platform::sendMessage(&mainWindow(), context::NOTIFY_CHUNK, 5); });
    notifyAndLook(SAYMGR_NOTIFY_START, 0);
    program().appState.TextOut = 0;
    m_engine.addAction([this] {
        program().appState.TextOut = 1;
        platform::sendMessage(&mainWindow(), context::NOTIFY_CHUNK, 5);
    });
    notifyAndLook(SAYMGR_NOTIFY_START, 0);
    speakFile("Hello world", 1);

    EXPECT_EQ(m_seen, (std::vector<Shown>{{"untouched", ""}, {"Hello", ""}}));
}

}  // namespace
}  // namespace speechtest
