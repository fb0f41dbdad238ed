#include "common/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using common::ansiToUtf8;
using common::oemToAnsi;
using common::oemToUtf8;
using common::utf8ToAnsi;

TEST(CodePage, OemLettersBecomeTheirAnsiFormsAndGraphicsBecomeQuestionMarks) {
    EXPECT_EQ(oemToAnsi("\x81"), "\xFC");                  // ü
    EXPECT_EQ(oemToAnsi("\x84\x94\xE1"), "\xE4\xF6\xDF");  // ä ö ß
    EXPECT_EQ(oemToAnsi("\x9C"), "\xA3");                  // £
    EXPECT_EQ(oemToAnsi("\xC9\xCD\xBB"), "???");           // box drawing
    EXPECT_EQ(oemToAnsi("\xE3"), "?");                     // π
    EXPECT_EQ(oemToAnsi(std::string("a\0b\r\n", 5)), std::string("a\0b\r\n", 5));
}

TEST(CodePage, OemToUtf8CoversAllBytes) {
    EXPECT_EQ(oemToUtf8("\x81\xC9\xE3"), "ü╔π");
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::string utf8 = oemToUtf8(all);
    EXPECT_EQ(std::count(utf8.begin(), utf8.end(), '?'), 1)
        << "every byte has a character; only '?' itself gives a question mark";
}

TEST(CodePage, AnsiSurvivesARoundTripThroughUtf8) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(utf8ToAnsi(ansiToUtf8(all)), all);
    EXPECT_EQ(ansiToUtf8("\x80\xE9\x9F"), "€éŸ");
    EXPECT_EQ(ansiToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(CodePage, Utf8WithoutAnAnsiFormBecomesOneQuestionMarkPerCharacter) {
    EXPECT_EQ(utf8ToAnsi("Grüße € π 漢字 😀!"),
              "Gr\xFC\xDF"
              "e \x80 ? ?? ?!");
    EXPECT_EQ(utf8ToAnsi("\u0080"), "?") << "a C1 control that 1252 uses for a letter";
}

TEST(CodePage, InvalidUtf8BytesBecomeQuestionMarks) {
    EXPECT_EQ(utf8ToAnsi("a\xFF"
                         "b"),
              "a?b");
    EXPECT_EQ(utf8ToAnsi("a\xC3"), "a?") << "a sequence cut at the end";
    EXPECT_EQ(utf8ToAnsi("\xED\xA0\x80"), "???") << "an encoded surrogate";
    EXPECT_EQ(utf8ToAnsi("\xC0\xAF"), "??") << "an overlong form";
}

}  // namespace
