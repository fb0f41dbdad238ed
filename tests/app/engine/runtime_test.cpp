// The start-up directory the program ships with: its settings file must join every engine
// language with a help page and a demo text that exist, and the demo texts must reach the
// engine unchanged.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "engine/settings.h"
#include "platform/profilefile.h"
#include "settingsfixture.h"

namespace {

const std::filesystem::path kRuntime = VOXTRIAL_RUNTIME_DIR;

// The engine's languages, in the order of its language list.
const std::vector<std::string> kEngineLanguages = {"English (America)",
                                                   "English (Britain)",
                                                   "German",
                                                   "French",
                                                   "Spanish (Spain)",
                                                   "Spanish (Latin America)",
                                                   "Italian",
                                                   "Portuguese (Brazil)",
                                                   "Portuguese (Portugal)",
                                                   "Dutch",
                                                   "Swedish",
                                                   "Danish",
                                                   "Norwegian",
                                                   "Finnish",
                                                   "Icelandic",
                                                   "Catalan",
                                                   "Basque",
                                                   "Irish",
                                                   "Afrikaans",
                                                   "Indonesian",
                                                   "Malay",
                                                   "Swahili",
                                                   "Latin",
                                                   "Estonian",
                                                   "Luxembourgish"};

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Bytes that Windows-1252 leaves undefined, and the two OE ligatures, which the program turns
// into 'e' before speaking.
bool unsuitableDemoByte(unsigned char c) {
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D || c == 140 || c == 156 ||
           c == 27 || c == '~' || c == '*' || (c < 32 && c != '\r' && c != '\n');
}

uint32_t littleEndian(const std::string& bytes, std::size_t at, std::size_t size) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

TEST(RuntimeTest, SettingsFileOffersEveryEngineLanguageWithItsFiles) {
    const platform::ProfileFile settings(kRuntime / "SAYBENCH.INI");
    context::AppState state;
    context::LanguageTable table;
    ASSERT_EQ(engine::ReadSettings(settings, enginetest::makeLanguages(kEngineLanguages), state,
                                   table, [] { return true; }),
              0);
    ASSERT_EQ(state.languageCount, 25);
    for (int slot = 0; slot < 25; ++slot) {
        SCOPED_TRACE(kEngineLanguages[slot]);
        EXPECT_EQ(state.available[slot], 1);
        const std::string& help = table.text(slot, context::LanguageColumn::HelpFile);
        const std::string& demo = table.text(slot, context::LanguageColumn::DemoFile);
        ASSERT_FALSE(help.empty());
        ASSERT_FALSE(demo.empty());
        EXPECT_TRUE(std::filesystem::is_regular_file(kRuntime / help)) << help;
        const std::string text = fileBytes(kRuntime / demo);
        EXPECT_GT(text.size(), 40u) << demo;
        for (const char c : text) {
            EXPECT_FALSE(unsuitableDemoByte(static_cast<unsigned char>(c))) << demo;
        }
        EXPECT_EQ(state.Volume[slot], 8);
        EXPECT_EQ(state.Speaker[slot], 1);
    }
    EXPECT_EQ(state.Language, 1);
    EXPECT_EQ(state.Frequency, 11);
    EXPECT_EQ(state.PlayMode, 137);
    EXPECT_EQ(state.TextOut, 1);
    EXPECT_EQ(state.FileType, 1);
    EXPECT_EQ(state.DictFileType, 1);
}

TEST(RuntimeTest, HelpFilesNameEveryKeyAndTheLanguage) {
    const std::vector<std::string> keys = {"F1", "Ctrl+F1", "F2", "F3",  "F5",      "F6",
                                           "F7", "F8",      "F9", "F10", "Ctrl+F10"};
    std::vector<std::pair<std::filesystem::path, std::string>> pages = {
        {kRuntime / "SAYBENCH.hlp", "Quenvar Voxtrial"}};
    const platform::ProfileFile settings(kRuntime / "SAYBENCH.INI");
    for (int slot = 0; slot < 25; ++slot) {
        engine::LanguagesEntry entry;
        ASSERT_EQ(
            engine::ParseLanguagesEntry(
                settings.readString("Languages", "Language" + std::to_string(slot + 1), ""), entry),
            0);
        pages.emplace_back(kRuntime / entry.helpFile, entry.name);
    }
    for (const auto& [page, name] : pages) {
        const std::string text = fileBytes(page);
        EXPECT_NE(text.find(name), std::string::npos) << page;
        for (const std::string& key : keys) {
            EXPECT_NE(text.find(key), std::string::npos) << page << " " << key;
        }
    }
}

TEST(RuntimeTest, ChimeIsShortMono16Bit22050Hz) {
    const std::string wave = fileBytes(kRuntime / "ding.wav");
    ASSERT_GT(wave.size(), 44u);
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(wave.substr(8, 4), "WAVE");
    EXPECT_EQ(littleEndian(wave, 22, 2), 1u);  // mono
    const uint32_t rate = littleEndian(wave, 24, 4);
    EXPECT_EQ(rate, 22050u);
    EXPECT_EQ(littleEndian(wave, 34, 2), 16u);
    EXPECT_LT(wave.size() - 44, rate * 2 / 2);  // under half a second
}

}  // namespace
