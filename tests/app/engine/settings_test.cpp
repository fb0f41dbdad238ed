#include "engine/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/profilefile.h"
#include "settingsfixture.h"

namespace {

using context::AppState;
using context::LanguageColumn;
using context::LanguageTable;
using engine::LanguagesEntry;
using engine::ParseLanguagesEntry;
using engine::ReadSettings;
using engine::WriteSettings;
using enginetest::makeLanguages;
using enginetest::ScratchSettings;

class SettingsTest : public ::testing::Test {
  protected:
    int32_t read(const std::string& text, const LanguageList& languages) {
        m_file.write(text);
        return readBack(languages);
    }
    int32_t readBack(const LanguageList& languages) {
        const platform::ProfileFile settings(m_file.path());
        return ReadSettings(settings, languages, m_state, m_table, [this] {
            ++m_menuBuilds;
            return m_menuBuilds > 0;
        });
    }
    const std::string& text(int slot, LanguageColumn column) const {
        return m_table.text(slot, column);
    }

    ScratchSettings m_file;
    AppState m_state;
    LanguageTable m_table;
    int m_menuBuilds = 0;
};

TEST(ParseLanguagesEntryTest, SplitsFieldsExactlyAsWritten) {
    LanguagesEntry entry;
    EXPECT_EQ(ParseLanguagesEntry("English (America),EN.HTM,DEMO_EN.TXT", entry), 0);
    EXPECT_EQ(entry.name, "English (America)");
    EXPECT_EQ(entry.helpFile, "EN.HTM");
    EXPECT_EQ(entry.demoFile, "DEMO_EN.TXT");

    LanguagesEntry spaced;
    EXPECT_EQ(ParseLanguagesEntry("German , de.htm , de.txt , extra,more", spaced), 0);
    EXPECT_EQ(spaced.name, "German ");
    EXPECT_EQ(spaced.helpFile, " de.htm ");
    EXPECT_EQ(spaced.demoFile, " de.txt ");

    LanguagesEntry empty;
    EXPECT_EQ(ParseLanguagesEntry(",,", empty), 0);
    EXPECT_EQ(empty.name, "");
    EXPECT_EQ(empty.helpFile, "");
    EXPECT_EQ(empty.demoFile, "");
}

TEST(ParseLanguagesEntryTest, LeavesUntouchedWhatTheValueDoesNotGive) {
    const LanguagesEntry before{"name", "help", "demo"};

    LanguagesEntry entry = before;
    EXPECT_EQ(ParseLanguagesEntry("", entry), 0);
    EXPECT_EQ(entry.name, "name");
    EXPECT_EQ(entry.demoFile, "demo");

    EXPECT_EQ(ParseLanguagesEntry("no comma at all", entry), -1);
    EXPECT_EQ(entry.name, "name");
    EXPECT_EQ(entry.helpFile, "help");

    EXPECT_EQ(ParseLanguagesEntry("French,fr.hlp", entry), 0);
    EXPECT_EQ(entry.name, "French");
    EXPECT_EQ(entry.helpFile, "fr.hlp");
    EXPECT_EQ(entry.demoFile, "demo");
}

TEST_F(SettingsTest, MissingFileReadsNothing) {
    m_state.Language = 7;
    m_state.available[3] = 1;
    m_table.setText(0, LanguageColumn::Name, "kept");

    const platform::ProfileFile settings(m_file.path());
    EXPECT_EQ(ReadSettings(settings, makeLanguages({"English"}), m_state, m_table,
                           [this] { return ++m_menuBuilds > 0; }),
              engine::kNoSettingsFile);
    EXPECT_EQ(m_menuBuilds, 0);
    EXPECT_EQ(m_state.Language, 7);
    EXPECT_EQ(m_state.available[3], 1);
    EXPECT_EQ(m_state.languageCount, 0);
    EXPECT_EQ(text(0, LanguageColumn::Name), "kept");
}

TEST_F(SettingsTest, EmptyFileGivesDefaultsAndOffersEveryEngineLanguage) {
    ASSERT_EQ(read("", makeLanguages({"English", "German"})), 0);
    EXPECT_EQ(m_menuBuilds, 1);
    EXPECT_EQ(m_state, enginetest::defaultState(2));
    for (int slot = 0; slot < 2; ++slot) {
        EXPECT_EQ(text(slot, LanguageColumn::HelpFile), "");
        EXPECT_EQ(text(slot, LanguageColumn::DemoFile), "");
    }
    EXPECT_EQ(text(1, LanguageColumn::Name), "German");
    EXPECT_EQ(text(1, LanguageColumn::MenuText), "German std");
}

TEST_F(SettingsTest, EntriesMatchEngineLanguagesByExactNameInKeyOrder) {
    const std::string ini =
        "[Languages]\n"
        "Language1=German,de.hlp,de.txt\n"
        "Language3=French,fr.hlp,fr.txt\n"
        "Language4=french,lower.hlp,lower.txt\n"
        "Language5=French,second.hlp,second.txt\n"
        "Language6=Klingon,tlh.hlp,tlh.txt\n";
    ASSERT_EQ(read(ini, makeLanguages({"French", "German", "Latin"})), 0);
    EXPECT_EQ(text(0, LanguageColumn::HelpFile), "fr.hlp");
    EXPECT_EQ(text(0, LanguageColumn::DemoFile), "fr.txt");
    EXPECT_EQ(text(1, LanguageColumn::HelpFile), "de.hlp");
    EXPECT_EQ(text(1, LanguageColumn::DemoFile), "de.txt");
    // No entry for Latin: still offered, without help or demo; Klingon is simply not used.
    EXPECT_EQ(m_state.available[2], 1);
    EXPECT_EQ(text(2, LanguageColumn::Name), "Latin");
    EXPECT_EQ(text(2, LanguageColumn::HelpFile), "");
    EXPECT_EQ(text(2, LanguageColumn::DemoFile), "");
    EXPECT_EQ(m_state.available[3], 0);  // a present key that is no engine language
    EXPECT_EQ(m_state.available[6], -1);
    EXPECT_EQ(text(5, LanguageColumn::Name), "");
}

TEST_F(SettingsTest, MissingKeyIsMarkedAndLaterKeysStillCount) {
    const std::string ini =
        "[Languages]\n"
        "Language1=German,de.hlp,de.txt\n"
        "Language3=French,fr.hlp\n"
        "Language4=\n";
    ASSERT_EQ(read(ini, makeLanguages({"French"})), 0);
    EXPECT_EQ(m_state.available[0], 1);
    EXPECT_EQ(m_state.available[1], -1);
    EXPECT_EQ(m_state.available[2], 0);
    EXPECT_EQ(m_state.available[3], -1);
    EXPECT_EQ(text(0, LanguageColumn::HelpFile), "fr.hlp");
    EXPECT_EQ(text(0, LanguageColumn::DemoFile), "");
}

TEST_F(SettingsTest, ValueWithoutCommaStopsReadingLanguageKeys) {
    const std::string ini =
        "[Languages]\n"
        "Language1=English,en.hlp,en.txt\n"
        "Language2=just a name\n"
        "Language3=German,de.hlp,de.txt\n";
    ASSERT_EQ(read(ini, makeLanguages({"English", "German"})), 0);
    EXPECT_EQ(text(0, LanguageColumn::HelpFile), "en.hlp");
    EXPECT_EQ(text(1, LanguageColumn::HelpFile), "");
    EXPECT_EQ(m_state.available[1], 1);
    // Keys after the stop are not read at all, so even missing ones are not marked.
    EXPECT_EQ(m_state.available[2], 0);
    EXPECT_EQ(m_state.available[24], 0);
}

TEST_F(SettingsTest, VoiceValuesAndDefaultsAreCorrected) {
    const std::string ini =
        "[Language1]\nVolume=0\nPitch=0\nRate=-2\nSpeaker=0\n"
        "[Language2]\nVolume=3\nPitch=-4\nRate=9\nSpeaker=7\n"
        "[Language3]\nVolume=12\nPitch=high\nRate=x9\nSpeaker=-1\n"
        "[TTSdefault]\nLanguage=0\nPlayMode=136\nTextOut=1\nFileType=1\nDictFileType=0\n";
    ASSERT_EQ(read(ini, makeLanguages({"A", "B", "C"})), 0);
    AppState expected = enginetest::defaultState(3);
    expected.Volume[1] = 3;
    expected.Rate[1] = 9;
    expected.Speaker[1] = 7;
    expected.Volume[2] = 12;  // used as read: the slider keeps it in range
    expected.PlayMode = 136;
    expected.TextOut = 1;
    expected.FileType = 1;
    EXPECT_EQ(m_state, expected);
}

TEST_F(SettingsTest, SlotsTheEngineDoesNotOfferAreNeitherReadNorWritten) {
    const std::string ini =
        "[Language1]\nVolume=4\n"
        "[Language2]\nVolume=3\nPitch=2\nRate=1\nSpeaker=9\n";
    ASSERT_EQ(read(ini, makeLanguages({"Only"})), 0);
    EXPECT_EQ(m_state.Volume[0], 4);
    EXPECT_EQ(m_state.Volume[1], 0);
    EXPECT_EQ(m_state.Speaker[1], 0);

    platform::ProfileFile settings(m_file.path());
    m_state.Volume[1] = 6;
    WriteSettings(settings, m_state);
    const platform::ProfileFile after(m_file.path());
    EXPECT_EQ(after.readInt("Language2", "Volume", -100), 3);
    EXPECT_EQ(after.readInt("Language1", "Pitch", -100), 5);
}

TEST_F(SettingsTest, MenuBarIsBuiltLastAndItsFailureIs105) {
    m_file.write("[TTSdefault]\nLanguage=2\n");
    const platform::ProfileFile settings(m_file.path());
    int32_t seenLanguage = 0;
    int32_t seenCount = 0;
    EXPECT_EQ(ReadSettings(settings, makeLanguages({"A", "B"}), m_state, m_table,
                           [&] {
                               seenLanguage = m_state.Language;
                               seenCount = m_state.languageCount;
                               return false;
                           }),
              engine::kMenuBarFailed);
    EXPECT_EQ(seenLanguage, 2);
    EXPECT_EQ(seenCount, 2);

    AppState fresh;
    EXPECT_EQ(ReadSettings(settings, makeLanguages({"A"}), fresh, m_table, {}), 0);
}

TEST_F(SettingsTest, MoreThan25EngineLanguagesUseTheFirst25) {
    std::vector<std::string> names;
    for (int k = 1; k <= 25; ++k) {
        names.push_back("Language number " + std::to_string(k));
    }
    LanguageList languages = makeLanguages(names);
    languages.count = 40;
    ASSERT_EQ(read("[Language25]\nRate=7\n", languages), 0);
    EXPECT_EQ(m_state.languageCount, 25);
    EXPECT_EQ(m_state.available[24], 1);
    EXPECT_EQ(m_state.Rate[24], 7);
    EXPECT_EQ(text(24, LanguageColumn::Name), "Language number 25");

    LanguageList broken = makeLanguages({"A"});
    broken.count = -3;
    AppState fresh;
    m_state = fresh;
    ASSERT_EQ(readBack(broken), 0);
    EXPECT_EQ(m_state.languageCount, 0);
    EXPECT_EQ(m_state.available[0], -1);
}

TEST_F(SettingsTest, LongTextsAreKeptWhole) {
    LanguageList languages{};
    languages.count = 1;
    languages.entries[0].languageId = 7;
    std::memset(languages.entries[0].name, 'n', sizeof languages.entries[0].name);
    std::memset(languages.entries[0].variant, 'v', sizeof languages.entries[0].variant);
    const std::string name(40, 'n');
    const std::string help = std::string(100, 'h') + ".htm";
    ASSERT_EQ(read("[Languages]\nLanguage1=" + name + "," + help + ",demo.txt\n", languages), 0);
    EXPECT_EQ(text(0, LanguageColumn::Name), name);
    EXPECT_EQ(text(0, LanguageColumn::MenuText), name + " " + std::string(12, 'v'));
    EXPECT_EQ(text(0, LanguageColumn::HelpFile), help);
    EXPECT_EQ(text(0, LanguageColumn::DemoFile), "demo.txt");
}

TEST_F(SettingsTest, LanguagesValueIsReadUpTo199Characters) {
    const std::string value = "English,en.htm," + std::string(250, 'd');
    ASSERT_EQ(read("[Languages]\nLanguage1=" + value + "\n", makeLanguages({"English"})), 0);
    EXPECT_EQ(text(0, LanguageColumn::DemoFile), value.substr(15, 199 - 15));
}

TEST_F(SettingsTest, WriteEditsOnlyTheListedKeys) {
    const std::string before =
        "; my settings\n"
        "[Languages]\n"
        "Language1=English,en.htm,en.txt\n"
        "\n"
        "[Language1]\n"
        "Volume=8\n"
        "; keep this comment\n"
        "Pitch=5\n"
        "Custom=yes\n"
        "Rate=5\n"
        "Speaker=1\n"
        "\n"
        "[Language3]\n"
        "Volume=2\n"
        "\n"
        "[Other]\n"
        "Key=Value\n"
        "\n"
        "[TTSdefault]\n"
        "Language=1\n"
        "Frequency=11\n"
        "PlayMode=137\n"
        "TextOut=1\n"
        "FileType=0\n"
        "DictFileType=1\n";
    ASSERT_EQ(read(before, makeLanguages({"English"})), 0);
    m_state.Volume[0] = 3;
    m_state.Pitch[0] = 9;
    m_state.Rate[0] = 2;
    m_state.Speaker[0] = 4;
    m_state.Language = 1;
    m_state.Frequency = 8;
    m_state.PlayMode = 135;
    m_state.TextOut = 0;
    m_state.FileType = 1;
    m_state.DictFileType = 0;
    m_state.Volume[2] = 9;

    platform::ProfileFile settings(m_file.path());
    WriteSettings(settings, m_state);

    std::string expected = before;
    for (const auto& [from, to] :
         std::vector<std::pair<std::string, std::string>>{{"Volume=8\n", "Volume=3\n"},
                                                          {"Pitch=5\n", "Pitch=9\n"},
                                                          {"Rate=5\n", "Rate=2\n"},
                                                          {"Speaker=1\n", "Speaker=4\n"},
                                                          {"Frequency=11\n", "Frequency=8\n"},
                                                          {"PlayMode=137\n", "PlayMode=135\n"},
                                                          {"TextOut=1\n", "TextOut=0\n"}}) {
        expected.replace(expected.find(from), from.size(), to);
    }
    EXPECT_EQ(m_file.read(), expected);
}

TEST_F(SettingsTest, AReadOnlyFileIsLeftByteForByteAndTheWriteFails) {
    const std::string before = "[Language1]\nVolume=8\n[TTSdefault]\nLanguage=1\n";
    ASSERT_EQ(read(before, makeLanguages({"English"})), 0);
    ASSERT_EQ(::chmod(m_file.path().c_str(), 0444), 0);
    m_state.Volume[0] = 2;
    platform::ProfileFile settings(m_file.path());
    EXPECT_FALSE(WriteSettings(settings, m_state));
    EXPECT_EQ(m_file.read(), before);
}

TEST_F(SettingsTest, NegativeVolumeSurvivesTheUnsignedWriteAndReadBack) {
    ASSERT_EQ(read("[Language1]\nVolume=-3\n", makeLanguages({"English"})), 0);
    ASSERT_EQ(m_state.Volume[0], -3);

    platform::ProfileFile settings(m_file.path());
    WriteSettings(settings, m_state);
    EXPECT_NE(m_file.read().find("Volume=4294967293\n"), std::string::npos);

    m_state = AppState{};
    ASSERT_EQ(readBack(makeLanguages({"English"})), 0);
    EXPECT_EQ(m_state.Volume[0], -3);
}

TEST_F(SettingsTest, WhatIsWrittenReadsBackTheSame) {
    ASSERT_EQ(read("", makeLanguages({"A", "B", "C"})), 0);
    for (int slot = 0; slot < 3; ++slot) {
        m_state.Volume[slot] = 1 + slot;
        m_state.Pitch[slot] = 9 - slot;
        m_state.Rate[slot] = 3 + slot;
        m_state.Speaker[slot] = 2 + slot;
    }
    m_state.Language = 3;
    m_state.Frequency = 7;
    m_state.PlayMode = 136;
    m_state.TextOut = 1;
    platform::ProfileFile settings(m_file.path());
    WriteSettings(settings, m_state);

    const AppState written = m_state;
    m_state = AppState{};
    ASSERT_EQ(readBack(makeLanguages({"A", "B", "C"})), 0);
    EXPECT_EQ(m_state.Volume, written.Volume);
    EXPECT_EQ(m_state.Pitch, written.Pitch);
    EXPECT_EQ(m_state.Rate, written.Rate);
    EXPECT_EQ(m_state.Speaker, written.Speaker);
    EXPECT_EQ(m_state.Language, 3);
    EXPECT_EQ(m_state.Frequency, 7);
    EXPECT_EQ(m_state.PlayMode, 136);
    EXPECT_EQ(m_state.TextOut, 1);
}

TEST(LanguageTableTest, OutOfRangeSlotsReadEmptyAndIgnoreWrites) {
    LanguageTable table;
    table.setText(-1, LanguageColumn::Name, "x");
    table.setText(25, LanguageColumn::Name, "x");
    table.setText(24, LanguageColumn::DemoFile, "demo");
    EXPECT_EQ(table.text(-1, LanguageColumn::Name), "");
    EXPECT_EQ(table.text(25, LanguageColumn::Name), "");
    EXPECT_EQ(table.text(24, LanguageColumn::DemoFile), "demo");
    EXPECT_EQ(table.text(24, LanguageColumn::HelpFile), "");
    table.clear();
    EXPECT_EQ(table.text(24, LanguageColumn::DemoFile), "");
}

}  // namespace
