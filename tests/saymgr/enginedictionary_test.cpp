// User dictionaries as the engine uses them: compiled, loaded, applied to their language.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "enginehost.h"
#include "testsupport/temporaryfolder.h"

namespace saymgrtest {
namespace {

class EngineDictionaryTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        textPath = (directory / "words.dct").string();
        binaryPath = (directory / "words.dcb").string();
        std::ofstream(textPath) << "; test words\ncat elephant hippopotamus\ndog [[d'0g]]\n";
    }

    int32_t fileBytes(const std::string& text) {
        int32_t bytes = 0;
        const std::string path = (directory / "out.wav").string();
        EXPECT_EQ(generate(text, path, SAYMGR_FORMAT_WAVE16, &bytes), 0);
        return bytes;
    }

    testsupport::TemporaryFolder scratch;
    const std::filesystem::path& directory = scratch.path();
    std::string textPath;
    std::string binaryPath;
};

TEST_F(EngineDictionaryTest, ReplacesWordsOfItsLanguageAndKeepsPositions) {
    ASSERT_EQ(EngineCompileDictionary(host.instance(), textPath.c_str(), 1, binaryPath.c_str()), 0);
    const std::string text = "A cat and a dog.";
    const int32_t before = fileBytes(text);
    int32_t handle = 0;
    ASSERT_EQ(EngineLoadDictionary(host.instance(), &handle, binaryPath.c_str()), 0);
    EXPECT_GT(handle, 0);
    host.notices.clear();
    const int32_t after = fileBytes(text);
    EXPECT_GT(after, before + 11025) << "'elephant hippopotamus' takes longer than 'cat'";
    bool sawCat = false;
    for (const Notice& word : host.withCode(SAYMGR_NOTIFY_MARK1)) {
        ASSERT_LE(word.value2 + word.value1, static_cast<int32_t>(text.size()));
        const std::string spoken = text.substr(static_cast<std::size_t>(word.value2),
                                               static_cast<std::size_t>(word.value1));
        EXPECT_NE(spoken.find_first_not_of(' '), std::string::npos);
        sawCat = sawCat || spoken == "cat";
    }
    EXPECT_TRUE(sawCat) << "the replaced word is reported at its place in the text";

    ASSERT_EQ(EngineSelectLanguage(host.instance(), 1031, 1), 0);
    const int32_t german = fileBytes(text);
    ASSERT_EQ(EngineUnloadDictionary(host.instance(), handle), 0);
    // eSpeak NG's timing varies by a few milliseconds from one call to the next.
    EXPECT_NEAR(fileBytes(text), german, german / 20)
        << "an English dictionary leaves German alone";
    ASSERT_EQ(EngineSelectLanguage(host.instance(), 1033, 1), 0);
    EXPECT_NEAR(fileBytes(text), before, before / 20) << "unloaded";
    EXPECT_EQ(EngineUnloadDictionary(host.instance(), handle), SAYMGR_EDICT_HANDLE);
}

// A word that a dictionary replaced is marked once, over exactly the word of the text.
TEST_F(EngineDictionaryTest, AReplacedWordIsMarkedAsTheOriginalWord) {
    std::ofstream(textPath) << "TTS text to speech\nVoxtrial [[v'0kstraI@l]]\n";
    ASSERT_EQ(EngineCompileDictionary(host.instance(), textPath.c_str(), 1, binaryPath.c_str()), 0);
    int32_t handle = 0;
    ASSERT_EQ(EngineLoadDictionary(host.instance(), &handle, binaryPath.c_str()), 0);
    const std::string text = "TTS is great. Voxtrial works, TTS!";
    ASSERT_EQ(
        EngineSpeak(host.instance(), 1, text.data(), static_cast<int32_t>(text.size()), 1, nullptr),
        0);
    std::vector<std::pair<int32_t, int32_t>> marks;
    for (const Notice& word : host.withCode(SAYMGR_NOTIFY_MARK1)) {
        marks.emplace_back(word.value2, word.value1);
    }
    EXPECT_EQ(marks, (std::vector<std::pair<int32_t, int32_t>>{
                         {0, 3}, {4, 2}, {7, 5}, {14, 8}, {23, 5}, {30, 3}}));
}

TEST_F(EngineDictionaryTest, RejectsWhatIsNotABinaryDictionary) {
    int32_t handle = 7;
    EXPECT_EQ(EngineLoadDictionary(host.instance(), &handle, textPath.c_str()),
              SAYMGR_EDICT_FORMAT);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(EngineLoadDictionary(host.instance(), &handle, (directory / "none.dcb").c_str()),
              SAYMGR_EFILE_NOT_FOUND);
    EXPECT_EQ(EngineUnloadDictionary(host.instance(), 12345), SAYMGR_EDICT_HANDLE);
    ASSERT_EQ(EngineCompileDictionary(host.instance(), textPath.c_str(), 1, binaryPath.c_str()), 0);
    std::string damaged = readFile(binaryPath);
    damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 0x55);
    const std::string damagedPath = (directory / "damaged.dcb").string();
    std::ofstream(damagedPath, std::ios::binary) << damaged;
    EXPECT_EQ(EngineLoadDictionary(host.instance(), &handle, damagedPath.c_str()),
              SAYMGR_EDICT_LOAD);
}

// A dictionary compiled over an older one keeps that file's permissions, and a target name
// as long as the system allows leaves room for the temporary file beside it.
TEST_F(EngineDictionaryTest, CompilingOverAFileKeepsItsModeAndAllowsLongNames) {
    std::ofstream(binaryPath) << "older";
    ASSERT_EQ(::chmod(binaryPath.c_str(), 0640), 0);
    ASSERT_EQ(EngineCompileDictionary(host.instance(), textPath.c_str(), 1, binaryPath.c_str()), 0);
    EXPECT_EQ(std::filesystem::status(binaryPath).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    const std::string longPath = (directory / (std::string(250, 'n') + ".dcb")).string();
    ASSERT_EQ(EngineCompileDictionary(host.instance(), textPath.c_str(), 1, longPath.c_str()), 0);
    int32_t handle = 0;
    EXPECT_EQ(EngineLoadDictionary(host.instance(), &handle, longPath.c_str()), 0);
    EXPECT_EQ(EngineLoadDictionary(host.instance(), &handle, binaryPath.c_str()), 0);
}

}  // namespace
}  // namespace saymgrtest
