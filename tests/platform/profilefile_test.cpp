#include "platform/profilefile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

#include "testsupport/temporaryfolder.h"

namespace {

using platform::ProfileFile;

class ProfileFileTest : public ::testing::Test {
  protected:
    std::filesystem::path file(const std::string& content) {
        const std::filesystem::path path = m_folder.path() / "settings.ini";
        writeText(path, content);
        return path;
    }

    testsupport::TemporaryFolder m_folder;
};

TEST_F(ProfileFileTest, LookupIgnoresCaseBlanksCommentsAndLinesWithoutEquals) {
    const ProfileFile profile(
        file("; a comment=not a key\n"
             "orphan=before any section\n"
             "  [ TTSdefault ]  \n"
             "just words\n"
             "  Language  =  3  \n"
             ";Frequency=8\n"
             "HelpFile = my help.hlp \t\n"));
    EXPECT_EQ(profile.readInt("ttsDEFAULT", "LANGUAGE", 1), 3);
    EXPECT_EQ(profile.readString("TTSdefault", "helpfile", ""), "my help.hlp");
    EXPECT_EQ(profile.readInt("TTSdefault", "Frequency", 10), 10);
    EXPECT_EQ(profile.readString("TTSdefault", "just words", "none"), "none");
    EXPECT_EQ(profile.readString("TTSdefault", "orphan", "none"), "none");
}

TEST_F(ProfileFileTest, FirstOfDuplicateSectionsAndKeysWins) {
    const ProfileFile profile(
        file("[A]\nkey=first\nKEY=second\n[B]\nx=1\n[a]\nkey=third\nonlyLater=yes\n"));
    EXPECT_EQ(profile.readString("A", "key", ""), "first");
    EXPECT_EQ(profile.readString("A", "onlyLater", "missing"), "missing");
}

TEST_F(ProfileFileTest, MissingFileReadsAsDefaults) {
    const ProfileFile profile(m_folder.path() / "absent.ini");
    EXPECT_FALSE(profile.exists());
    EXPECT_EQ(profile.readInt("TTSdefault", "Language", 7), 7);
    EXPECT_EQ(profile.readString("Languages", "Language1", "fallback"), "fallback");
}

TEST_F(ProfileFileTest, IntegersReadLikeTheCLibrary) {
    const ProfileFile profile(
        file("[n]\na=12ab\nb=x\nc=-3\nd=+4\ne=\nf=99999999999\ng=-99999999999\nh= 5 \n"));
    EXPECT_EQ(profile.readInt("n", "a", 0), 12);
    EXPECT_EQ(profile.readInt("n", "b", 9), 0);
    EXPECT_EQ(profile.readInt("n", "c", 0), -3);
    EXPECT_EQ(profile.readInt("n", "d", 0), 4);
    EXPECT_EQ(profile.readInt("n", "e", 9), 9) << "an empty value counts as missing";
    EXPECT_EQ(profile.readInt("n", "f", 0), INT32_MAX);
    EXPECT_EQ(profile.readInt("n", "g", 0), INT32_MIN);
    EXPECT_EQ(profile.readInt("n", "h", 0), 5);
    EXPECT_EQ(profile.readInt("n", "missing", 42), 42);
}

TEST_F(ProfileFileTest, ReadStringTruncatesLikeAFixedBuffer) {
    const ProfileFile profile(file("[s]\nname=abcdefgh\n"));
    EXPECT_EQ(profile.readString("s", "name", "", 3), "abc");
    EXPECT_EQ(profile.readString("s", "other", "fallback", 4), "fall");
    EXPECT_EQ(profile.readString("s", "name", "", 0), "abcdefgh");
}

TEST_F(ProfileFileTest, ReplacingAValueKeepsEveryOtherByte) {
    const std::string before =
        "; settings\r\n[Language1]\r\nVolume = 8 \r\n  Pitch=5\r\n\r\n[TTSdefault]\r\n"
        "Language=1\r\n; end";
    ProfileFile profile(file(before));
    ASSERT_TRUE(profile.writeString("language1", "VOLUME", "3"));
    EXPECT_EQ(readText(profile.path()),
              "; settings\r\n[Language1]\r\nVolume = 3\r\n  Pitch=5\r\n\r\n[TTSdefault]\r\n"
              "Language=1\r\n; end");
    EXPECT_EQ(profile.readInt("Language1", "Volume", 0), 3);
}

TEST_F(ProfileFileTest, NewKeyGoesAfterTheSectionsLastKeyBeforeBlankLines) {
    ProfileFile profile(file("[A]\nx=1\n; about B\n\n[B]\ny=2\n"));
    ASSERT_TRUE(profile.writeString("A", "z", "3"));
    EXPECT_EQ(readText(profile.path()), "[A]\nx=1\nz=3\n; about B\n\n[B]\ny=2\n");
}

TEST_F(ProfileFileTest, NewKeyInASectionWithoutKeysFollowsItsHeader) {
    ProfileFile profile(file("[A]\r\n\r\n[B]\r\ny=2"));
    ASSERT_TRUE(profile.writeString("B", "z", "3"));
    ASSERT_TRUE(profile.writeString("A", "x", "1"));
    EXPECT_EQ(readText(profile.path()), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\nz=3\r\n");
}

TEST_F(ProfileFileTest, NewSectionGoesAtTheEndInTheFilesLineEnd) {
    ProfileFile profile(file("[A]\r\nx=1"));
    ASSERT_TRUE(profile.writeString("sounds", "SystemQuestion", "ding.wav"));
    EXPECT_EQ(readText(profile.path()), "[A]\r\nx=1\r\n[sounds]\r\nSystemQuestion=ding.wav\r\n");
}

TEST_F(ProfileFileTest, WritingCreatesAMissingFileAndItsFolder) {
    ProfileFile profile(m_folder.path() / "new" / "folder" / "user.ini");
    ASSERT_TRUE(profile.writeString("sounds", "SystemQuestion", "ding.wav"));
    EXPECT_EQ(readText(profile.path()), "[sounds]\nSystemQuestion=ding.wav\n");
}

TEST_F(ProfileFileTest, UnsafeNamesAndValuesAreRefusedAndTheFileUnchanged) {
    const std::string before = "[A]\nx=1\n";
    ProfileFile profile(file(before));
    EXPECT_FALSE(profile.writeString("A", "x", "1\n[B]\ny=2"));
    EXPECT_FALSE(profile.writeString("A]", "x", "1"));
    EXPECT_FALSE(profile.writeString("A", "k=v", "1"));
    EXPECT_FALSE(profile.writeString("A", " ", "1"));
    EXPECT_FALSE(profile.writeString(std::string_view("A\0B", 3), "x", "1"));
    EXPECT_FALSE(profile.writeString("A", std::string_view("x\0y", 3), "1"));
    EXPECT_FALSE(profile.writeString("A", "x\ry", "1"));
    EXPECT_EQ(readText(profile.path()), before);
}

TEST_F(ProfileFileTest, AReadOnlyFileIsLeftAsItIsEvenForAnAllPowerfulUser) {
    const std::string before = "[A]\nx=1\n";
    ProfileFile profile(file(before));
    ASSERT_EQ(::chmod(profile.path().c_str(), 0444), 0);
    EXPECT_FALSE(profile.writeString("A", "x", "2"));
    platform::ProfileEdit edit(profile);
    EXPECT_TRUE(edit.writeString("A", "y", "3"));
    EXPECT_FALSE(edit.commit());
    EXPECT_EQ(readText(profile.path()), before);
    struct stat info {};
    ASSERT_EQ(::stat(profile.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
}

// A named pipe in place of a profile would block a reader until someone writes into it.
TEST_F(ProfileFileTest, ANamedPipeIsNeitherWaitedForNorReplaced) {
    const std::filesystem::path pipe = m_folder.path() / "user.ini";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    ::alarm(20);  // a blocked open ends the test program instead of hanging it
    ProfileFile profile(pipe);
    EXPECT_FALSE(profile.exists());
    EXPECT_EQ(profile.readString("sounds", "SystemQuestion", "ding.wav"), "ding.wav");
    EXPECT_EQ(profile.readInt("sounds", "Volume", 7), 7);
    EXPECT_FALSE(profile.writeString("sounds", "SystemQuestion", "chimes.wav"));
    platform::ProfileEdit edit(profile);
    EXPECT_FALSE(edit.writeString("sounds", "SystemQuestion", "chimes.wav"));
    EXPECT_FALSE(edit.commit());
    ::alarm(0);
    struct stat info {};
    ASSERT_EQ(::lstat(pipe.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// The edits one quit makes, once one by one and once as one edit, give the same file.
TEST_F(ProfileFileTest, AnEditGivesTheFileThatSingleWritesGive) {
    const std::string before =
        "\xEF\xBB\xBF; Voxtrial settings\r\n"
        "[Languages]\r\nLanguage1=English,en.htm,en.txt\r\n\r\n"
        "[language1]\r\n  VOLUME = 8 \r\n; a remark\r\nPitch=5\r\nCustom=yes\r\n\r\n"
        "[Other]\r\nKey=Value\r\n"
        "[TTSDEFAULT]\r\nlanguage=1\r\nFrequency=11\r\nFileType=0";
    const std::vector<std::pair<std::string, std::string>> keys = {
        {"Language1", "Volume"},    {"Language1", "Pitch"},     {"Language1", "Rate"},
        {"Language1", "Speaker"},   {"Language2", "Volume"},    {"Language2", "Pitch"},
        {"TTSdefault", "Language"}, {"TTSdefault", "PlayMode"}, {"TTSdefault", "Frequency"},
        {"TTSdefault", "TextOut"},  {"Language1", "Volume"},    {"Bad]", "Refused"}};
    ProfileFile single(file(before));
    ProfileFile batched(m_folder.path() / "batched.ini");
    writeText(batched.path(), before);
    platform::ProfileEdit edit(batched);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto& [section, key] = keys[i];
        const std::string value = std::to_string(i);
        EXPECT_EQ(edit.writeString(section, key, value), single.writeString(section, key, value))
            << section << '/' << key;
        EXPECT_EQ(edit.find(section, key).value_or("missing"),
                  single.readString(section, key, "missing"));
    }
    EXPECT_EQ(readText(batched.path()), before) << "nothing is written before the commit";
    ASSERT_TRUE(edit.commit());
    EXPECT_EQ(readText(batched.path()), readText(single.path()));
}

TEST_F(ProfileFileTest, RemovingAKeyTakesItsWholeLineAndNothingElse) {
    ProfileFile profile(file("[A]\r\nx=1\r\n[B]\r\nx=2\r\ny=3"));
    platform::ProfileEdit edit(profile);
    edit.removeKey("b", "Y");
    edit.removeKey("A", "missing");
    edit.removeKey("missing", "x");
    edit.removeKey("A", "X");
    EXPECT_EQ(edit.find("A", "x"), std::nullopt);
    ASSERT_TRUE(edit.commit());
    EXPECT_EQ(readText(profile.path()), "[A]\r\n[B]\r\nx=2\r\n");
}

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A settings file with up to eight bytes or runs of bytes inserted, replaced, dropped or
// repeated, the new bytes mostly ones that mean something to the format.
std::string mutated(std::string text, std::mt19937& random) {
    constexpr std::string_view kBytes("[]=; \t\r\n\0aZ\xEF\xBB\xBF\x85", 15);
    const auto pick = [&random](std::size_t count) { return random() % count; };
    for (std::size_t change = 0, changes = 1 + pick(8); change < changes; ++change) {
        const std::size_t at = pick(text.size() + 1);
        const std::size_t span = std::min<std::size_t>(1 + pick(12), text.size() - at);
        const char byte = kBytes[pick(kBytes.size())];
        switch (pick(4)) {
            case 0:
                text.insert(at, 1, byte);
                break;
            case 1:
                text.replace(at, std::min<std::size_t>(span, 1), 1, byte);
                break;
            case 2:
                text.erase(at, span);
                break;
            default:
                text.insert(at, text.substr(at, span));
                break;
        }
    }
    return text;
}

// Damaged settings files: reading never fails or hangs, and a write changes the entry it names
// and nothing else, adding no more than its own line.
TEST_F(ProfileFileTest, MutatedFilesReadSafelyAndWritesReadBack) {
    const std::string original =
        "\xEF\xBB\xBF; settings\r\n[Languages]\r\nLanguage1=English,en.htm,en.txt\r\n"
        "[Language1]\r\nVolume = 8 \r\nPitch=5\r\n\r\n[TTSdefault]\nLanguage=1\nPlayMode=137\n"
        "[sounds]\nSystemQuestion=ding.wav";
    std::vector<std::pair<std::string, std::string>> entries;
    for (const char* section :
         {"Languages", "Language1", "TTSdefault", "sounds", "ttsDEFAULT", "a[b"}) {
        for (const char* key :
             {"Volume", "Pitch", "Language", "SystemQuestion", "k=v", "[k", "a b"}) {
            entries.emplace_back(section, key);
        }
    }
    const std::vector<std::string> values = {
        "1", "x=y", "[z]", ";c", std::string("a\0b", 3), "", "ding.wav", "two words"};
    std::mt19937 random(20261208);
    const std::filesystem::path path = m_folder.path() / "fuzz.ini";
    // A thousand damaged files with three writes each, checked one after the other.
    for (int round = 0; round < 1000; ++round) {
        const std::string text = mutated(original, random);
        std::filesystem::remove(path);  // a new file: a truncated one is flushed at close
        writeText(path, text);
        ProfileFile profile(path);
        platform::ProfileEdit edit(profile);
        std::vector<std::optional<std::string>> before;
        for (const auto& [section, key] : entries) {
            before.push_back(edit.find(section, key));
        }
        if (round % 10 == 0) {
            const std::size_t probe = random() % entries.size();
            ASSERT_EQ(profile.readString(entries[probe].first, entries[probe].second, "\n"),
                      before[probe].value_or("\n"));
        }

        std::size_t limit = text.size();
        for (int write = 0; write < 3; ++write) {
            const auto& [section, key] = entries[random() % entries.size()];
            const std::string& value = values[random() % values.size()];
            if (!edit.writeString(section, key, value)) {
                continue;
            }
            limit += section.size() + key.size() + value.size() + 10;
            for (std::size_t i = 0; i < entries.size(); ++i) {
                const auto& [otherSection, otherKey] = entries[i];
                if (sameName(otherSection, section) && sameName(otherKey, key)) {
                    before[i] = value;
                }
                ASSERT_EQ(edit.find(otherSection, otherKey), before[i]) << "round " << round;
            }
        }
        if (round % 100 == 0) {
            ASSERT_TRUE(edit.commit());
            EXPECT_LE(readText(path).size(), limit);
            for (std::size_t i = 0; i < entries.size(); ++i) {
                EXPECT_EQ(profile.readString(entries[i].first, entries[i].second, "\n"),
                          before[i].value_or("\n"));
            }
        }
    }
}

TEST_F(ProfileFileTest, WriteKeepsPermissionsAndLeavesNoTemporaryFile) {
    ProfileFile profile(file("[A]\nx=1\n"));
    ASSERT_EQ(::chmod(profile.path().c_str(), 0600), 0);
    ASSERT_TRUE(profile.writeString("A", "x", "2"));
    struct stat info {};
    ASSERT_EQ(::stat(profile.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ProfileFileTest, WriteThroughASymbolicLinkEditsItsTarget) {
    const std::filesystem::path target = file("[A]\nx=1\n");
    const std::filesystem::path link = m_folder.path() / "link.ini";
    std::filesystem::create_symlink(target, link);
    ProfileFile profile(link);
    ASSERT_TRUE(profile.writeString("A", "x", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readText(target), "[A]\nx=2\n");
}

TEST_F(ProfileFileTest, AnUnwritableFolderFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    ProfileFile profile(file("[A]\nx=1\n"));
    ::chmod(m_folder.path().c_str(), 0500);
    EXPECT_FALSE(profile.writeString("A", "x", "2"));
    ::chmod(m_folder.path().c_str(), 0700);
    EXPECT_EQ(readText(profile.path()), "[A]\nx=1\n");
}

TEST_F(ProfileFileTest, AFileInAPlaceThatCannotBeAFolderIsNotWritten) {
    const std::filesystem::path notAFolder = file("[A]\nx=1\n");
    ProfileFile profile(notAFolder / "user.ini");
    EXPECT_FALSE(profile.writeString("A", "x", "2"));
    EXPECT_EQ(readText(notAFolder), "[A]\nx=1\n");
}

// A writer killed at any moment leaves either the old or the new file, never a mixture.
TEST_F(ProfileFileTest, AKilledWriterLeavesTheOldOrTheNewFile) {
    const std::string big(300000, 'a');
    const std::string other(300000, 'b');
    const auto content = [](const std::string& value) {
        return "; header\n[data]\nvalue=" + value + "\n[tail]\nk=v\n";
    };
    const std::filesystem::path path = file(content(big));
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ProfileFile writer(path);
            for (int i = 0;; ++i) {
                writer.writeString("data", "value", i % 2 == 0 ? other : big);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300 + (round % 10) * 700));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = readText(path);
        ASSERT_TRUE(now == content(big) || now == content(other))
            << "round " << round << ": " << now.size() << " bytes";
    }
}

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name) {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        m_old = m_had ? old : "";
        ::setenv(name, value, 1);
    }
    ~ScopedEnvironment() {
        if (m_had) {
            ::setenv(m_name, m_old.c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* m_name;
    bool m_had;
    std::string m_old;
};

TEST(UserProfilePath, FollowsTheXdgConfigFolder) {
    const ScopedEnvironment home("HOME", "/home/someone");
    {
        const ScopedEnvironment config("XDG_CONFIG_HOME", "/somewhere/config");
        EXPECT_EQ(platform::userProfilePath(), "/somewhere/config/quenvar-voxtrial/user.ini");
    }
    const ScopedEnvironment config("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(platform::userProfilePath(), "/home/someone/.config/quenvar-voxtrial/user.ini");
}

}  // namespace
