#include "engine/errorreport.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <utility>
#include <vector>

#include "testsupport/recordingmessageservice.h"

namespace {

using engine::errorText;

TEST(ErrorTextTest, EveryCodeOfTheTableHasItsText) {
    const std::vector<std::pair<int32_t, const char*>> table = {
        {-1, "Specified file not found!"},
        {-2, "File opening error!"},
        {-3, "File writing error!"},
        {-4, "Memory allocation error!"},
        {-5, "Memory locking error!"},
        {-6, "Memory unlocking error!"},
        {-7, "Memory free error!"},
        {-8, "Wave device opening error!"},
        {-9, "Wave device closing error!"},
        {-10, "Specified waveformat not supported!"},
        {-11, "No wave devices available!"},
        {-12, "TTS has not been initialized!"},
        {-13, "Specified frequency not available!"},
        {-14, "Parameter value is out of range!"},
        {-15, "Specified output format not supported!"},
        {-16, "TTS system is still busy!"},
        {-18, "User dictionary loading error!"},
        {-19, "Bad user dictionaty handle has been specified!"},
        {-20, "Wave device writing error!"},
        {-21, "No input text has been specified!"},
        {-22, "Bad Speech control command has been issued!"},
        {-23, "Phonetic string generating error!"},
        {-24, "Invalid user dictionary format has been found!"},
        {-25, "TTS instance creation error!"},
        {-26, "Invalid TTS instance has been specified!"},
        {-28, "Invalid engine id has been specified!"},
        {-29, "Specified TTS instance is busy!"},
        {-30, "TTS engine loading error!"},
        {-31, "No engine has been selected!"},
        {101, "No data found in Clipboard!"},
        {102, "No file has been selected!"},
        {103, "No data found in keyboard input window!"},
        {104, "No INI file found!"},
    };
    for (const auto& [code, text] : table) {
        EXPECT_EQ(errorText(code), QString::fromLatin1(text)) << code;
    }
}

TEST(ErrorTextTest, CodesOutsideTheTableGetTheFallback) {
    for (const int32_t code : {0, -17, -27, -32, -1000, 100, 105, 106, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(errorText(code), QStringLiteral("Unknown error [ %1 ] found!").arg(code)) << code;
    }
}

TEST(ReportErrorTest, BeepsOnceThenShowsAnInformationBox) {
    testsupport::RecordingMessageService messages;
    engine::ReportError(messages, nullptr, 104);
    ASSERT_EQ(messages.log().size(), 2u);
    EXPECT_TRUE(messages.log()[0].isBeep());
    EXPECT_EQ(messages.log()[0].beep, platform::BeepKind::Information);
    const testsupport::MessageEvent& box = messages.log()[1];
    ASSERT_TRUE(box.isBox());
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text, QStringLiteral("No INI file found!"));
    EXPECT_EQ(box.caption, QStringLiteral("Error"));
    EXPECT_EQ(box.icon, platform::MessageIcon::Information);
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
}

TEST(ReportErrorTest, BoxBelongsToTheGivenOwner) {
    testsupport::RecordingMessageService messages;
    QWidget owner;
    engine::ReportError(messages, &owner, 105);
    ASSERT_EQ(messages.boxes().size(), 1u);
    EXPECT_EQ(messages.boxes()[0].owner, &owner);
    EXPECT_EQ(messages.boxes()[0].text, QStringLiteral("Unknown error [ 105 ] found!"));
    EXPECT_EQ(messages.beeps().size(), 1u);
}

}  // namespace
