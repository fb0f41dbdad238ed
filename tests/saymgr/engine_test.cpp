// The engine as a caller sees it: lifecycle, records and what speaking reports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "enginehost.h"
#include "testsupport/temporaryfolder.h"

namespace saymgrtest {
namespace {

class EngineTest : public EngineFixture {
  protected:
    int32_t pieceTotal() const {
        int32_t total = 0;
        for (const Notice& notice : host.withCode(SAYMGR_NOTIFY_CHUNK)) {
            total += notice.value1;
        }
        return total;
    }
};

TEST(EngineLifecycle, OpenCloseAndInstanceChecks) {
    int32_t instance = 0;
    EXPECT_EQ(EngineStop(1, 1), SAYMGR_ENOT_INITIALIZED);
    EXPECT_EQ(EngineSpeak(1, 1, "x", 1, 1, nullptr), SAYMGR_ENOT_INITIALIZED);
    ASSERT_EQ(EngineOpen(&instance, nullptr, nullptr), 0);
    EXPECT_GT(instance, 0);
    int32_t second = 0;
    EXPECT_EQ(EngineOpen(&second, nullptr, nullptr), SAYMGR_EINSTANCE_BUSY);
    EXPECT_EQ(EngineStop(instance + 1, 1), SAYMGR_EINSTANCE);
    EXPECT_EQ(EngineSetFrequency(instance + 1, 8), SAYMGR_EINSTANCE);
    EXPECT_EQ(EngineStop(instance, 1), 0) << "stop while idle";
    EXPECT_EQ(EngineClose(instance + 1), SAYMGR_EINSTANCE);
    EXPECT_EQ(EngineClose(instance), 0);
    EXPECT_EQ(EngineClose(instance), SAYMGR_ENOT_INITIALIZED);
    ASSERT_EQ(EngineOpen(&second, nullptr, nullptr), 0) << "reopens after close";
    EXPECT_NE(second, instance);
    EXPECT_EQ(EngineClose(second), 0);
}

TEST_F(EngineTest, LanguageListHoldsTheTwentyFiveLanguages) {
    ASSERT_EQ(languages.count, 25);
    EXPECT_EQ(languages.entries[0].languageId, 1033);
    EXPECT_STREQ(languages.entries[0].name, "English (America)");
    EXPECT_STREQ(languages.entries[0].variant, "en-us");
    EXPECT_EQ(languages.entries[5].languageId, 22538);
    EXPECT_STREQ(languages.entries[5].variant, "es-419");
    EXPECT_EQ(languages.entries[24].languageId, 4206);
    EXPECT_STREQ(languages.entries[24].name, "Luxembourgish");
    for (int i = 0; i < languages.count; ++i) {
        EXPECT_EQ(EngineSelectLanguage(host.instance(), languages.entries[i].languageId, 1), 0);
        EXPECT_EQ(speak("1 2."), 0) << languages.entries[i].name;
    }
    EXPECT_EQ(EngineSelectLanguage(host.instance(), 9999, 1), SAYMGR_ERANGE);
}

TEST_F(EngineTest, InformationRecords) {
    LanguageInfo info{};
    ASSERT_EQ(EngineGetLanguageInfo(host.instance(), 3, &info), 0);
    EXPECT_STREQ(info.language, "German");
    EXPECT_EQ(info.speakerCount, 9);
    EXPECT_STREQ(info.codingScheme, "Windows-1252");
    EXPECT_GT(std::strlen(info.version), 0u);
    EXPECT_EQ(EngineGetLanguageInfo(host.instance(), 26, &info), SAYMGR_ERANGE);

    ManufacturerInfo maker{};
    ASSERT_EQ(EngineGetManufacturerInfo(&maker), 0);
    EXPECT_NE(std::string(maker.noticeText).find("eSpeak NG"), std::string::npos);

    char about[SAYMGR_ABOUT_TEXT_SIZE];
    std::memset(about, 'x', sizeof about);
    ASSERT_EQ(EngineGetAboutText(host.instance(), about), 0);
    const std::size_t aboutLength = strnlen(about, sizeof about);
    EXPECT_LT(aboutLength, sizeof about);
    EXPECT_GT(aboutLength, 100u);
    EXPECT_EQ(speak(about), 0);

    InstanceInfo instanceInfo{};
    EXPECT_EQ(EngineSetFrequency(host.instance(), 9), SAYMGR_EFREQUENCY);
    ASSERT_EQ(EngineSetFrequency(host.instance(), SAYMGR_FREQ_8000), 0);
    ASSERT_EQ(EngineGetInstanceInfo(host.instance(), &instanceInfo), 0);
    EXPECT_EQ(instanceInfo.frequency, 8);
    EXPECT_NE(instanceInfo.has8kHz, 0);
    EXPECT_NE(instanceInfo.has10kHz, 0);
    EXPECT_NE(instanceInfo.has11kHz, 0);
}

TEST_F(EngineTest, VoiceParametersAreCheckedAsAWhole) {
    EXPECT_EQ(EngineSetVoiceParameters(host.instance(), 1, 9, 9, 1, 1, 7, 2), 0);
    EXPECT_EQ(EngineSetVoiceParameters(host.instance(), 1, -1, -1, -1, -1, 5, -1), 0);
    EXPECT_EQ(EngineSetVoiceParameters(host.instance(), 1, 0, 5, 5, 5, 7, 2), SAYMGR_ERANGE);
    EXPECT_EQ(EngineSetVoiceParameters(host.instance(), 1, 5, 10, 5, 5, 7, 2), SAYMGR_ERANGE);
    EXPECT_EQ(EngineSetVoiceParameters(host.instance(), 1, 5, 5, -2, 5, 7, 2), SAYMGR_ERANGE);
    for (int speaker = 1; speaker <= 9; ++speaker) {
        ASSERT_EQ(EngineSetVoiceParameters(host.instance(), 1, 5, speaker, 9, 5, 7, 2), 0);
        EXPECT_EQ(speak("Speaker."), 0) << speaker;
    }
}

TEST_F(EngineTest, RejectsMissingTextAndUnknownForms) {
    EXPECT_EQ(EngineSpeak(host.instance(), 1, nullptr, 5, 1, nullptr), SAYMGR_ENO_TEXT);
    EXPECT_EQ(EngineSpeak(host.instance(), 1, "abc", 0, 1, nullptr), SAYMGR_ENO_TEXT);
    EXPECT_EQ(EngineSpeak(host.instance(), 1, "abc", 3, 2, nullptr), SAYMGR_ERANGE);
    EXPECT_TRUE(host.notices.empty());
}

TEST_F(EngineTest, NotificationsFrameTheSpeechAndTileTheText) {
    const std::string text = "Hello world, this is a test. Second sentence here!\r\n\r\nLast one";
    ASSERT_EQ(speak(text), 0);
    ASSERT_GE(host.notices.size(), 4u);
    EXPECT_EQ(host.notices.front().code, SAYMGR_NOTIFY_START);
    EXPECT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END);
    EXPECT_EQ(host.withCode(SAYMGR_NOTIFY_START).size(), 1u);
    EXPECT_EQ(host.withCode(SAYMGR_NOTIFY_END).size(), 1u);
    EXPECT_EQ(host.withCode(SAYMGR_NOTIFY_CHUNK).size(), 3u);
    EXPECT_EQ(pieceTotal(), static_cast<int32_t>(text.size()));

    const auto words = host.withCode(SAYMGR_NOTIFY_MARK1);
    ASSERT_EQ(words.size(), 11u);
    EXPECT_EQ(text.substr(static_cast<std::size_t>(words[0].value2),
                          static_cast<std::size_t>(words[0].value1)),
              "Hello");
    EXPECT_EQ(text.substr(static_cast<std::size_t>(words[6].value2),
                          static_cast<std::size_t>(words[6].value1)),
              "Second");
    EXPECT_EQ(text.substr(static_cast<std::size_t>(words[10].value2),
                          static_cast<std::size_t>(words[10].value1)),
              "one");
    for (std::size_t i = 1; i < words.size(); ++i) {
        EXPECT_GT(words[i].value2, words[i - 1].value2);
    }
}

// eSpeak NG joins some short words to their neighbour without a word event of their own;
// each still gets its own mark.
TEST_F(EngineTest, EveryWordIsMarkedOnceInOrder) {
    const std::string text = "The cat sat on the mat and went to the garden of the house.";
    ASSERT_EQ(speak(text), 0);
    std::vector<std::pair<int32_t, int32_t>> marks;
    for (const Notice& word : host.withCode(SAYMGR_NOTIFY_MARK1)) {
        marks.emplace_back(word.value2, word.value1);
    }
    EXPECT_EQ(marks, (std::vector<std::pair<int32_t, int32_t>>{{0, 3},
                                                               {4, 3},
                                                               {8, 3},
                                                               {12, 2},
                                                               {15, 3},
                                                               {19, 3},
                                                               {23, 3},
                                                               {27, 4},
                                                               {32, 2},
                                                               {35, 3},
                                                               {39, 6},
                                                               {46, 2},
                                                               {49, 3},
                                                               {53, 5}}));
}

TEST_F(EngineTest, PiecesAreAnnouncedBeforeTheirWords) {
    ASSERT_EQ(speak("One. Two."), 0);
    std::vector<int32_t> codes;
    for (const Notice& notice : host.notices) {
        codes.push_back(notice.code);
    }
    EXPECT_EQ(codes, (std::vector<int32_t>{7000, 7002, 7003, 7002, 7003, 7001}));
}

TEST_F(EngineTest, EveryBookmarkReachesTheHostOnceAndInOrder) {
    std::string text;
    for (int i = 0; i < 10; ++i) {
        text += "word ";
    }
    std::vector<int32_t> starts;
    for (int i = 0; i < 100; ++i) {
        starts.push_back(static_cast<int32_t>(text.size()));
        text += "\x1bM" + std::to_string(i) + " ";
    }
    text += "end.";
    ASSERT_EQ(speak(text), 0);
    std::vector<int32_t> reported;
    for (const Notice& mark : host.withCode(SAYMGR_NOTIFY_MARK2)) {
        reported.push_back(mark.value2);
    }
    EXPECT_EQ(reported, starts);
}

TEST_F(EngineTest, EscapeCommands) {
    // ESC M: bookmark; ESC P: pause; ESC S: spell out; ESC X: unknown, skipped.
    const std::string text = "Go \x1bM12 now \x1bP300 and \x1bSabc then \x1bXyes.";
    ASSERT_EQ(speak(text), 0);
    const auto marks = host.withCode(SAYMGR_NOTIFY_MARK2);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].value2, 3);
    EXPECT_EQ(marks[0].value1, 4);
    EXPECT_EQ(pieceTotal(), static_cast<int32_t>(text.size()));
    std::vector<std::string> spoken;
    for (const Notice& word : host.withCode(SAYMGR_NOTIFY_MARK1)) {
        spoken.push_back(text.substr(static_cast<std::size_t>(word.value2),
                                     static_cast<std::size_t>(word.value1)));
    }
    EXPECT_EQ(spoken.front(), "Go");
    EXPECT_EQ(spoken.back(), "Xyes") << "the unknown escape alone is skipped";
    EXPECT_NE(std::find(spoken.begin(), spoken.end(), "abc"), spoken.end());
}

TEST_F(EngineTest, SpeaksEveryByteValueInBothForms) {
    std::string text(256, '\0');
    std::iota(text.begin(), text.end(), 0);
    for (const int32_t form : {SAYMGR_TEXT_DOS, SAYMGR_TEXT_ANSI}) {
        host.notices.clear();
        ASSERT_EQ(speak(text, form), 0);
        EXPECT_EQ(pieceTotal(), 256);
        for (const Notice& word : host.withCode(SAYMGR_NOTIFY_MARK1)) {
            EXPECT_GE(word.value2, 0);
            EXPECT_LE(word.value2 + word.value1, 256);
        }
    }
}

TEST_F(EngineTest, OddTextsAreTiledAndMarkedInside) {
    using namespace std::string_literals;
    const std::string texts[] = {
        "\x1b"s,
        "\x1b\x1b\x1b"s,
        "\x1bP\x1bM\x1bS\x1bm7\x1bp12"s,
        "   \r\n\t  \r\n\r\n "s,
        "a\0b\0\0c. \0"s,
        "<<<&&&>>> [[ ]] ]] [["s,
        "[[h@'loU]] [[\x1bM1]] [[ x"s,
        "\x1bSabc\x1bSdef."s,
        std::string(3100, 'w') + "\x1bM3 end",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(::testing::PrintToString(text.substr(0, 40)));
        const auto size = static_cast<int32_t>(text.size());
        host.notices.clear();
        ASSERT_EQ(speak(text), 0);
        EXPECT_EQ(pieceTotal(), size);
        EXPECT_EQ(host.withCode(SAYMGR_NOTIFY_START).size(), 1u);
        EXPECT_EQ(host.withCode(SAYMGR_NOTIFY_END).size(), 1u);
        for (const int32_t code : {SAYMGR_NOTIFY_MARK1, SAYMGR_NOTIFY_MARK2}) {
            for (const Notice& mark : host.withCode(code)) {
                EXPECT_GE(mark.value2, 0);
                EXPECT_GT(mark.value1, 0);
                EXPECT_LE(mark.value2 + mark.value1, size);
            }
        }
    }
}

TEST_F(EngineTest, AccelerationRulesShortenLongPieces) {
    std::string text;
    for (int i = 0; i < 12; ++i) {
        text += "this is a rather long sentence part, ";
    }
    text += "done.";
    const testsupport::TemporaryFolder scratch;
    const auto lengthOf = [&](int32_t first, int32_t second) {
        EngineSetAccelerationRule(host.instance(), first, second);
        const std::string path = (scratch.path() / "accel.wav").string();
        int32_t bytes = 0;
        EXPECT_EQ(EngineSpeakToFile(host.instance(), text.data(), static_cast<int32_t>(text.size()),
                                    path.c_str(), SAYMGR_FORMAT_WAVE16, 1, 0, &bytes),
                  0);
        return bytes;
    };
    const int32_t normal = lengthOf(0, 0);
    const int32_t first = lengthOf(100, 0);
    const int32_t both = lengthOf(100, 200);
    EXPECT_LT(first, normal * 0.9);
    EXPECT_LT(both, first * 0.9);
    EXPECT_NEAR(lengthOf(1000, 0), normal, normal * 0.01)
        << "a rule longer than the piece does nothing";
}

}  // namespace
}  // namespace saymgrtest
