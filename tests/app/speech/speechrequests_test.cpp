#include "speech/speechrequests.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <fstream>
#include <set>

#include "context/commandids.h"
#include "context/programcontext.h"
#include "fakeengine/fakeengine.h"
#include "shellfixture.h"
#include "speech/translatetext.h"
#include "testsupport/recordingservices.h"

namespace speechtest {
namespace {

using testsupport::EngineArg;
using testsupport::EngineCall;
using Args = std::vector<EngineArg>;

std::string translated(const std::string& source, bool ansi) {
    std::string target(source.size(), '\0');
    speech::TranslateText(source.c_str(), target.data(), source.size(), ansi);
    return target;
}

TEST(TranslateText, MarkersAndLigaturesKeepEveryPosition) {
    EXPECT_EQ(translated("a*Db", true), "a  b");
    EXPECT_EQ(translated("a~db", true), "a  b");
    EXPECT_EQ(translated("x~y", true), "x\x1By");
    EXPECT_EQ(translated("\x1BP500 go", true), "\x1BP500 go");
    EXPECT_EQ(translated("end*", true), "end\x1B");
    EXPECT_EQ(translated("c\x8Cur s\x9C", true), "ceur se");
    EXPECT_EQ(translated("c\x8Cur s\x9C", false), "c\x8Cur s\x9C");
}

// The speak requests of a running program, each source read as it stands.
class SpeakRequestTest : public shelltest::ShellFixture {
  protected:
    void startWithSource(int playMode) {
        writeSettings(shelltest::twoLanguageSettings(1, playMode));
        ASSERT_EQ(start(), std::nullopt);
        m_engine.clearCalls();
    }
    void useTextFile(const std::string& bytes, int fileType) {
        const auto path = startupDirectory() / "text.txt";
        std::ofstream(path, std::ios::binary) << bytes;
        program().appState.textFilePath = path.string();
        program().appState.FileType = fileType;
    }
    std::vector<EngineCall> speakCalls() const { return m_engine.callsTo("EngineSpeak"); }
    std::vector<QString> boxTexts() const {
        std::vector<QString> texts;
        for (const auto& box : m_recorders.messages->boxes()) {
            texts.push_back(box.text);
        }
        return texts;
    }
};

TEST_F(SpeakRequestTest, FilesReachTheEngineTranslatedWithTheirTextForm) {
    startWithSource(context::IDM_SOURCEFILE);
    useTextFile("a*Db c\x8C", 1);
    command(context::IDC_SPEAK);
    useTextFile("a*Db c\x8C", 0);
    command(context::IDC_SPEAK);
    useTextFile("", 1);
    command(context::IDC_SPEAK);

    const std::vector<EngineCall> expected{
        {"EngineSpeak", Args{1, 1, "a  b ce", 7, 1}},
        {"EngineSpeak", Args{1, 1, "a  b c\x8C", 7, 0}},
        {"EngineSpeak", Args{1, 1, "", 0, 1}},
    };
    EXPECT_EQ(speakCalls(), expected);
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(SpeakRequestTest, AMissingFileIsReportedAfterTheVoiceValuesWereSent) {
    startWithSource(context::IDM_SOURCEFILE);
    command(context::IDC_SPEAK);
    program().appState.textFilePath = (startupDirectory() / "gone.txt").string();
    command(context::IDC_SPEAK);

    const std::vector<std::string> expected{"EngineSetVoiceParameters", "EngineSetVoiceParameters"};
    EXPECT_EQ(m_engine.operations(), expected);
    EXPECT_EQ(boxTexts(),
              (std::vector<QString>{"No file has been selected!", "No file has been selected!"}));
    EXPECT_EQ(m_recorders.messages->boxes()[0].owner, &mainWindow());
}

TEST_F(SpeakRequestTest, TheClipboardIsSpokenOnlyWhenItHoldsText) {
    startWithSource(context::IDM_SOURCECLIPBOARD);
    m_recorders.clipboard->clear();
    command(context::IDC_SPEAK);
    EXPECT_TRUE(speakCalls().empty());
    EXPECT_TRUE(boxTexts().empty());

    m_recorders.clipboard->setAnsiText("");
    command(context::IDC_SPEAK);
    EXPECT_TRUE(speakCalls().empty());
    EXPECT_EQ(boxTexts(), std::vector<QString>{"No data found in Clipboard!"});

    m_recorders.clipboard->setAnsiText("say ~Dthis");
    command(context::IDC_SPEAK);
    EXPECT_EQ(speakCalls(),
              (std::vector<EngineCall>{{"EngineSpeak", Args{1, 1, "say   this", 10, 1}}}));
}

TEST_F(SpeakRequestTest, TheKeyboardSourceSpeaksTheSelectionOrTheWholeText) {
    startWithSource(context::IDM_SOURCEKEYBOARD);
    command(context::IDC_SPEAK);
    EXPECT_EQ(boxTexts(), std::vector<QString>{"No data found in keyboard input window!"});

    QPlainTextEdit& input = mainWindow().input();
    input.setPlainText("abcd");
    selectInput(1, 3);
    command(context::IDC_SPEAK);
    selectInput(2, 2);
    command(context::IDC_SPEAK);

    const std::vector<EngineCall> expected{
        {"EngineSpeak", Args{1, 1, "bc", 2, 1}},
        {"EngineSpeak", Args{1, 1, "abcd", 4, 1}},
    };
    EXPECT_EQ(speakCalls(), expected);
    EXPECT_EQ(input.toPlainText(), "abcd");
}

// Counts the blocks it hands out and fails the allocation it was told to.
class CountingAllocator : public speech::BlockAllocator {
  public:
    int32_t allocate(std::size_t size, char*& block) override {
        if (++m_calls == m_failingCall) {
            return m_failure;
        }
        block = new char[size]();
        m_live.insert(block);
        return 0;
    }
    void release(char* block) noexcept override {
        m_live.erase(block);
        delete[] block;
    }
    void failCall(int call, int32_t status) {
        m_calls = 0;
        m_failingCall = call;
        m_failure = status;
    }
    std::size_t live() const { return m_live.size(); }

  private:
    int m_calls = 0;
    int m_failingCall = 0;
    int32_t m_failure = 0;
    std::set<char*> m_live;
};

TEST_F(SpeakRequestTest, NoBlockAndNoFileOutlivesARequestHoweverItEnds) {
    startWithSource(context::IDM_SOURCEFILE);
    CountingAllocator allocator;
    speech::SpeechRequests requests(program(), allocator);
    useTextFile("hello", 1);
    const std::vector<std::pair<int, int32_t>> failures{{0, 0}, {1, -4}, {3, -5}, {4, -4}};
    for (const auto& [call, status] : failures) {
        allocator.failCall(call, status);
        requests.SpeakCurrentSource(&mainWindow());
        requests.EndSpeakRequest();
        EXPECT_EQ(allocator.live(), 0u) << call;
        EXPECT_FALSE(requests.holdsResources()) << call;
    }
    // A failed allocation shows its own code, and a File request -4 once more.
    EXPECT_EQ(boxTexts(),
              (std::vector<QString>{"Memory allocation error!", "Memory allocation error!",
                                    "Memory locking error!", "Memory allocation error!",
                                    "Memory allocation error!", "Memory allocation error!"}));
    EXPECT_EQ(speakCalls().size(), 1u);

    allocator.failCall(1, -5);
    EXPECT_EQ(requests.SpeakAboutText(&mainWindow()), -1);
    EXPECT_EQ(allocator.live(), 0u);
}

}  // namespace
}  // namespace speechtest
