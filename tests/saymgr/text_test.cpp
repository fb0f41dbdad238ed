// The engine's text handling: pieces, escape commands, markup and the map back to the
// caller's byte positions.
#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "text/bytetable.h"
#include "text/segmentscanner.h"
#include "text/textbuilder.h"

namespace saymgr::text {
namespace {

std::vector<std::pair<int32_t, int32_t>> pieces(const std::string& text) {
    SegmentScanner scanner(text);
    std::vector<std::pair<int32_t, int32_t>> found;
    int32_t start = 0;
    int32_t end = 0;
    while (scanner.next(start, end)) {
        found.emplace_back(start, end);
    }
    return found;
}

void expectTiled(const std::string& text) {
    int32_t position = 0;
    for (const auto& [start, end] : pieces(text)) {
        ASSERT_EQ(start, position);
        ASSERT_GT(end, start);
        position = end;
    }
    EXPECT_EQ(position, static_cast<int32_t>(text.size()));
}

TEST(SegmentScanner, SplitsAtSentencesAndParagraphs) {
    const std::string text = "One. Two? Three!Four 3.5 five\n\nSix\nseven";
    const auto found = pieces(text);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(text.substr(0, static_cast<std::size_t>(found[0].second)), "One. ");
    EXPECT_EQ(found[1].second, 10);  // "Two? "
    EXPECT_EQ(text.substr(static_cast<std::size_t>(found[2].first),
                          static_cast<std::size_t>(found[2].second - found[2].first)),
              "Three!Four 3.5 five\n\n");
    EXPECT_EQ(found[3].second, static_cast<int32_t>(text.size()));
}

TEST(SegmentScanner, TilesAnyTextIncludingRunsWithoutBreaks) {
    expectTiled(std::string(5000, 'a'));
    expectTiled(std::string(4000, ' '));
    std::string escapes(3000, 'b');
    for (std::size_t i = 1490; i < escapes.size(); i += 7) {
        escapes[i] = 27;
    }
    expectTiled(escapes);
    for (const auto& [start, end] : pieces(escapes)) {
        EXPECT_LE(end - start, SegmentScanner::kHardLimit);
    }
    std::string every(256, '\0');
    std::iota(every.begin(), every.end(), 0);
    expectTiled(every);
    EXPECT_TRUE(pieces("").empty());
}

class TextBuilderTest : public ::testing::Test {
  protected:
    SynthesisText build(const std::string& text, Dictionaries dictionaries = {}) {
        source = text;
        return TextBuilder(source, table, std::move(dictionaries))
            .build(0, static_cast<int32_t>(source.size()));
    }

    std::string source;
    ByteTable table{true};
};

TEST_F(TextBuilderTest, DecodesTheCodePageAndEscapesMarkupCharacters) {
    const SynthesisText text = build("caf\xe9 <a&b>\x01");
    EXPECT_EQ(text.markup, "caf\xc3\xa9 &lt;a&amp;b&gt; ");
    ASSERT_EQ(text.sourceOffsets.size(), text.markup.size());
    EXPECT_EQ(text.sourceOffsets[3], 3);
    EXPECT_EQ(text.sourceOffsets[4], 3);  // both bytes of the e acute
    EXPECT_EQ(text.sourceOffsets[6], 5);  // "&lt;"
    EXPECT_EQ(text.sourceRange(5, 4), (std::pair<int32_t, int32_t>{5, 6}));  // "&lt;"
    EXPECT_EQ(text.charStarts.size(), 21u);
}

TEST_F(TextBuilderTest, DosTextUsesCodePage437) {
    ByteTable dos(false);
    EXPECT_EQ(dos.utf8(0x82), "\xc3\xa9");
    EXPECT_EQ(table.utf8(0x82), "\xe2\x80\x9a");
    EXPECT_EQ(table.utf8(0x81), " ") << "undefined in Windows-1252";
    EXPECT_EQ(table.utf8('\n'), "\n");
}

TEST_F(TextBuilderTest, EscapeCommandsBecomeMarkup) {
    const SynthesisText text = build("a\x1bP250b\x1bm7 c\x1bsxyz d\x1bQe\x1bP99999");
    EXPECT_EQ(text.markup,
              "a<break time=\"250ms\"/>b<mark name=\"b0\"/> c<say-as "
              "interpret-as=\"characters\">xyz</say-as> dQe<break time=\"10000ms\"/>");
    ASSERT_EQ(text.bookmarks.size(), 1u);
    EXPECT_EQ(text.bookmarks[0].start, 7);
    EXPECT_EQ(text.bookmarks[0].length, 3);
    // The spelled word maps back to its own bytes.
    const auto spelled = text.markup.find("xyz");
    EXPECT_EQ(text.sourceRange(static_cast<int32_t>(spelled), 3),
              (std::pair<int32_t, int32_t>{14, 17}));
}

TEST_F(TextBuilderTest, PiecesEndWithTheirNaturalPause) {
    source = "One. Two\n\nThree four";
    const TextBuilder builder(source, table, {});
    EXPECT_EQ(builder.build(0, 5).markup, "One. <break strength=\"strong\"/>");
    EXPECT_EQ(builder.build(5, 10).markup, "Two\n\n<break strength=\"x-strong\"/>");
    EXPECT_EQ(builder.build(10, 16).markup, "Three ") << "cut inside a sentence";
    EXPECT_EQ(builder.build(16, 20).markup, "four") << "the end of the text";
}

TEST_F(TextBuilderTest, AnEscapeAtTheEndIsDropped) {
    EXPECT_EQ(build("ab\x1b").markup, "ab");
    EXPECT_EQ(build("\x1bP").markup, "<break time=\"500ms\"/>");
}

TEST_F(TextBuilderTest, WordRangesSurviveReplacements) {
    // A replacement longer than its word maps back to the word.
    SynthesisText text;
    text.markup = "say elephant now";
    text.sourceOffsets = {0, 1, 2, 3, 4, 4, 4, 4, 4, 4, 4, 4, 7, 8, 9, 10};
    for (int32_t i = 0; i < 16; ++i) {
        text.charStarts.push_back(i);
    }
    text.sourceEnd = 11;
    EXPECT_EQ(text.sourceRange(4, 8), (std::pair<int32_t, int32_t>{4, 7}));
    EXPECT_EQ(text.sourceRange(13, 3), (std::pair<int32_t, int32_t>{8, 11}));
    EXPECT_EQ(text.sourceRange(99, 3), (std::pair<int32_t, int32_t>{10, 11})) << "clamped";
}

}  // namespace
}  // namespace saymgr::text
