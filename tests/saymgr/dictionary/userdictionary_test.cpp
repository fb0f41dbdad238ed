#include "dictionary/userdictionary.h"

#include <gtest/gtest.h>
#include <saymgr.h>

#include <numeric>

#include "dictionarytestfiles.h"

namespace {

using dictionarytest::TempDir;
using saymgr::MappedText;
using saymgr::UserDictionary;

// Compiles `source` as a text dictionary and loads the result.
std::unique_ptr<UserDictionary> compileAndLoad(const TempDir& dir, std::string_view source,
                                               int32_t flag, int32_t languageId = 1) {
    dictionarytest::writeFile(dir.file("words.dct"), source);
    EXPECT_EQ(
        UserDictionary::compile(dir.file("words.dct"), flag, languageId, dir.file("words.dcb")),
        SAYMGR_OK);
    std::unique_ptr<UserDictionary> dictionary;
    EXPECT_EQ(UserDictionary::load(dir.file("words.dcb"), dictionary), SAYMGR_OK);
    return dictionary;
}

MappedText identity(std::string utf8) {
    MappedText text{std::move(utf8), {}};
    text.sourceOffsets.resize(text.utf8.size());
    std::iota(text.sourceOffsets.begin(), text.sourceOffsets.end(), 0);
    return text;
}

std::string applied(const UserDictionary& dictionary, std::string utf8) {
    return dictionary.apply(identity(std::move(utf8))).utf8;
}

TEST(UserDictionaryRoundTrip, CodePage437) {
    TempDir dir;
    const auto dictionary = compileAndLoad(
        dir, "; DOS dictionary\r\nGr\x81n [[gr'y:n]]\r\nM\x81ller Mueller\r\n", 0, 7);
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(dictionary->languageId(), 7);
    EXPECT_EQ(dictionary->size(), 2u);
    EXPECT_EQ(applied(*dictionary, "grün und MÜLLER"), "[[gr'y:n]] und Mueller");
}

TEST(UserDictionaryRoundTrip, Windows1252) {
    TempDir dir;
    const auto dictionary =
        compileAndLoad(dir, "Gr\xFCn gr\xFCne Farbe\n\x9Cuvre [[9:vR]]\n\xC0 la\n", 1, 3);
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(dictionary->languageId(), 3);
    EXPECT_EQ(applied(*dictionary, "GRÜN"), "grüne Farbe");
    EXPECT_EQ(applied(*dictionary, "ŒUVRE à"), "[[9:vR]] la");
}

TEST(UserDictionaryRoundTrip, SameBytesDifferInTheOtherCodePage) {
    TempDir dir;
    const auto dictionary = compileAndLoad(dir, "\x81 ue\n", 1 - 1);
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(applied(*dictionary, "ü"), "ue");
    dictionarytest::writeFile(dir.file("ansi.dct"), "\x81 ue\n");
    // 0x81 is not defined in Windows-1252.
    EXPECT_EQ(UserDictionary::compile(dir.file("ansi.dct"), 1, 1, dir.file("ansi.dcb")),
              SAYMGR_EDICT_FORMAT);
}

TEST(UserDictionaryFormat, CommentsBlankLinesAndLayout) {
    TempDir dir;
    const auto dictionary = compileAndLoad(dir,
                                           "# comment\n"
                                           "\n"
                                           "   \t \n"
                                           "  ; indented comment\n"
                                           "\tcat \t the   big  dog \t\r\n"
                                           "cat kitten\n"
                                           "don't do not\n"
                                           "\x1A\x1A",
                                           1);
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(dictionary->size(), 2u);
    // The later entry of a word wins; inner white space of a replacement is kept.
    EXPECT_EQ(applied(*dictionary, "cat"), "kitten");
    EXPECT_EQ(applied(*dictionary, "Don't"), "do not");
}

TEST(UserDictionaryApply, ReplacesWholeWordsOnly) {
    TempDir dir;
    const auto dictionary = compileAndLoad(dir, "cat dog\nUSA [[ju:Es'eI]]\n", 1);
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(applied(*dictionary, "cat concat cats Cat CAT cat's (cat), cat."),
              "dog concat cats dog dog cat's (dog), dog.");
    EXPECT_EQ(applied(*dictionary, "cat2 2cat usa-cat"), "cat2 2cat [[ju:Es'eI]]-dog");
    EXPECT_EQ(applied(*dictionary, "catzé écat"), "catzé écat");
    EXPECT_EQ(applied(*dictionary, "cat’s cat’ ’cat"), "cat’s dog’ ’dog");
}

TEST(UserDictionaryApply, LeavesPhonemeSectionsOfTheTextAlone) {
    TempDir dir;
    const auto dictionary = compileAndLoad(dir, "cat dog\n", 1);
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(applied(*dictionary, "[[cat]] cat [[k'at"), "[[cat]] dog [[k'at");
}

TEST(UserDictionaryApply, MapsReplacementBytesToTheWordStart) {
    TempDir dir;
    const auto dictionary = compileAndLoad(dir, "NASA [[n'a:s@]]\nab x\n", 1);
    ASSERT_TRUE(dictionary);
    const MappedText out = dictionary->apply(identity("I saw nasa today"));
    ASSERT_EQ(out.utf8, "I saw [[n'a:s@]] today");
    ASSERT_EQ(out.sourceOffsets.size(), out.utf8.size());
    for (std::size_t i = 6; i < 16; ++i) {
        EXPECT_EQ(out.sourceOffsets[i], 6) << i;
    }
    EXPECT_EQ(out.sourceOffsets[16], 10);
    EXPECT_EQ(out.sourceOffsets.back(), 15);

    // Text decoded from an 8-bit code page: "ü" is two UTF-8 bytes of one source byte.
    MappedText text{"über ab", {0, 0, 1, 2, 3, 4, 5, 6}};
    const MappedText shrunk = dictionary->apply(text);
    EXPECT_EQ(shrunk.utf8, "über x");
    EXPECT_EQ(shrunk.sourceOffsets, (std::vector<int32_t>{0, 0, 1, 2, 3, 4, 5}));
}

TEST(UserDictionaryApply, OffsetsStayNonDecreasing) {
    TempDir dir;
    const auto dictionary = compileAndLoad(dir, "b [[bi:]]\n", 1);
    ASSERT_TRUE(dictionary);
    // A caller's map in which a later byte points before an earlier one.
    const MappedText out = dictionary->apply(MappedText{"a b", {5, 6, 2}});
    EXPECT_EQ(out.utf8, "a [[bi:]]");
    for (std::size_t i = 2; i < out.sourceOffsets.size(); ++i) {
        EXPECT_EQ(out.sourceOffsets[i], 6);
    }
}

TEST(UserDictionaryApply, SurvivesInvalidText) {
    TempDir dir;
    const auto dictionary = compileAndLoad(dir, "cat dog\n", 1);
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(applied(*dictionary, std::string("\xC3 cat\xFF\xE2\x82", 9)),
              std::string("\xC3 dog\xFF\xE2\x82", 9));
    const MappedText mismatched{"cat", {0}};
    EXPECT_EQ(dictionary->apply(mismatched).utf8, "cat");
}

}  // namespace

namespace {

TEST(UserDictionaryChain, EachWordIsReplacedOnceByTheFirstDictionaryThatHoldsIt) {
    TempDir dir;
    std::shared_ptr<const UserDictionary> first = compileAndLoad(dir, "cat dog\nbird cat\n", 1);
    std::shared_ptr<const UserDictionary> second = compileAndLoad(dir, "cat mouse\ndog wolf\n", 1);
    const std::vector dictionaries{first, second};
    // "cat" is the first's; its "dog" is not looked up again, though the second holds it.
    EXPECT_EQ(UserDictionary::apply(dictionaries, identity("cat bird dog")).utf8, "dog cat wolf");
}

TEST(UserDictionaryChain, ExpandingDictionariesLoadedManyTimesStayBounded) {
    TempDir dir;
    const std::string expansion(500, 'a');
    std::shared_ptr<const UserDictionary> dictionary =
        compileAndLoad(dir, "a " + std::string(500, 'a') + "\n", 1);
    const std::vector dictionaries(50, dictionary);
    EXPECT_EQ(UserDictionary::apply(dictionaries, identity("a")).utf8, expansion);

    // A long text of the word grows by at most its budget; the words beyond it stay as written.
    std::string text;
    for (int i = 0; i < 10000; ++i) {
        text += "a ";
    }
    const MappedText out = UserDictionary::apply(dictionaries, identity(text));
    EXPECT_LE(out.utf8.size(), text.size() * (UserDictionary::kGrowthPerByte + 1) +
                                   UserDictionary::kMaxReplacementGrowth);
    EXPECT_EQ(out.sourceOffsets.size(), out.utf8.size());
    EXPECT_TRUE(out.utf8.ends_with(" a "));
}

}  // namespace
