#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <saymgr.h>

#include <csignal>
#include <filesystem>

#include "dictionary/crc32.h"
#include "dictionary/userdictionary.h"
#include "dictionarytestfiles.h"

namespace {

using dictionarytest::readFile;
using dictionarytest::TempDir;
using dictionarytest::writeFile;
using saymgr::UserDictionary;

int32_t compileText(const TempDir& dir, std::string_view source, int32_t flag = 1) {
    writeFile(dir.file("in.dct"), source);
    return UserDictionary::compile(dir.file("in.dct"), flag, 1, dir.file("out.dcb"));
}

int32_t loadStatus(const std::string& path) {
    std::unique_ptr<UserDictionary> dictionary;
    const int32_t status = UserDictionary::load(path, dictionary);
    EXPECT_EQ(status == SAYMGR_OK, dictionary != nullptr);
    return status;
}

int32_t loadBytes(const TempDir& dir, std::string_view bytes) {
    writeFile(dir.file("probe.dcb"), bytes);
    return loadStatus(dir.file("probe.dcb"));
}

void putUint(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::string entry(std::string_view word, std::string_view replacement) {
    std::string out;
    putUint(out, static_cast<uint32_t>(word.size()), 2);
    putUint(out, static_cast<uint32_t>(replacement.size()), 2);
    return out + std::string(word) + std::string(replacement);
}

// A binary dictionary with a correct checksum around whatever header values and entries.
std::string binary(uint32_t version, uint32_t count, std::string_view entries) {
    std::string out("QVXDCB\x1A\n", 8);
    putUint(out, version, 4);
    putUint(out, 9, 4);
    putUint(out, count, 4);
    putUint(out, static_cast<uint32_t>(entries.size()), 4);
    out += entries;
    putUint(out, saymgr::dictionary::crc32(out), 4);
    return out;
}

TEST(DictionaryCompile, RefusesMalformedText) {
    TempDir dir;
    const std::string longWord(65, 'a');
    const std::string longLine = "a " + std::string(1023, 'b');
    const struct {
        const char* what;
        std::string source;
    } cases[] = {
        {"word without replacement", "good fine\nlonely\n"},
        {"word without replacement but blanks", "lonely  \t \n"},
        {"over-long word", longWord + " x\n"},
        {"over-long line", longLine + "\n"},
        {"control character", "a\x01 b\n"},
        {"NUL byte", std::string("a b\0c\n", 6)},
        {"carriage return inside", "a b\rc\n"},
        {"byte undefined in the code page", "a \x90\n"},
        {"punctuation in the word", "a,b x\n"},
        {"two words joined by a hyphen", "e-mail x\n"},
        {"unclosed phonemes", "a [[b\n"},
        {"empty phonemes", "a [[]]\n"},
        {"stray closing brackets", "a b]]\n"},
        {"nested phonemes", "a [[b [[c]]\n"},
        {"no entries", "; only\n# comments\n\n"},
        {"empty file", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compileText(dir, c.source), SAYMGR_EDICT_FORMAT) << c.what;
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.dcb"))) << c.what;
    }
    EXPECT_EQ(compileText(dir, std::string(64, 'a') + " x\n" + "a " + std::string(1022, 'b')),
              SAYMGR_OK);
}

TEST(DictionaryCompile, RefusesBadArgumentsAndFiles) {
    TempDir dir;
    writeFile(dir.file("in.dct"), "a b\n");
    EXPECT_EQ(UserDictionary::compile(dir.file("missing.dct"), 1, 1, dir.file("o.dcb")),
              SAYMGR_EFILE_NOT_FOUND);
    EXPECT_EQ(UserDictionary::compile(dir.path(), 1, 1, dir.file("o.dcb")), SAYMGR_EFILE_OPEN);
    EXPECT_EQ(UserDictionary::compile(dir.file("in.dct"), 2, 1, dir.file("o.dcb")), SAYMGR_ERANGE);
    EXPECT_EQ(UserDictionary::compile(dir.file("in.dct"), 1, 1, dir.file("no/such/o.dcb")),
              SAYMGR_EFILE_OPEN);
    std::filesystem::create_directory(dir.file("folder.dcb"));
    EXPECT_EQ(UserDictionary::compile(dir.file("in.dct"), 1, 1, dir.file("folder.dcb")),
              SAYMGR_EFILE_OPEN);
    // Compiling onto the source itself would destroy it.
    EXPECT_EQ(UserDictionary::compile(dir.file("in.dct"), 1, 1, dir.file("in.dct")),
              SAYMGR_EFILE_OPEN);
    EXPECT_EQ(readFile(dir.file("in.dct")), "a b\n");
    // A pipe or a device (such as /dev/null) is refused, never replaced by a file.
    ASSERT_EQ(mkfifo(dir.file("pipe.dcb").c_str(), 0600), 0);
    EXPECT_EQ(UserDictionary::compile(dir.file("in.dct"), 1, 1, dir.file("pipe.dcb")),
              SAYMGR_EFILE_OPEN);
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("pipe.dcb")));
    EXPECT_EQ(dir.listing(), "folder.dcb\nin.dct\npipe.dcb");
}

TEST(DictionaryCompile, FailedWriteLeavesNothingBehind) {
    TempDir dir;
    writeFile(dir.file("in.dct"), "word " + std::string(1000, 'r') + "\n");
    writeFile(dir.file("out.dcb"), "previous");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Files may not grow past 100 bytes: the write fails part way.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(-UserDictionary::compile(dir.file("in.dct"), 1, 1, dir.file("out.dcb")));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(-WEXITSTATUS(status), SAYMGR_EFILE_WRITE);
    EXPECT_EQ(readFile(dir.file("out.dcb")), "previous");
    EXPECT_EQ(dir.listing(), "in.dct\nout.dcb");
}

TEST(DictionaryCompile, ReplacesAnExistingBinary) {
    TempDir dir;
    writeFile(dir.file("out.dcb"), "previous");
    ASSERT_EQ(compileText(dir, "a b\n"), SAYMGR_OK);
    EXPECT_EQ(loadStatus(dir.file("out.dcb")), SAYMGR_OK);
    EXPECT_EQ(dir.listing(), "in.dct\nout.dcb");
}

TEST(DictionaryLoad, RefusesWhatIsNotABinaryDictionary) {
    TempDir dir;
    EXPECT_EQ(loadStatus(dir.file("missing.dcb")), SAYMGR_EFILE_NOT_FOUND);
    EXPECT_EQ(loadStatus(dir.file("missing/x.dcb")), SAYMGR_EFILE_NOT_FOUND);
    EXPECT_EQ(loadStatus(dir.path()), SAYMGR_EFILE_OPEN);
    // A named pipe without a writer is refused instead of waited for.
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
    EXPECT_EQ(loadStatus(dir.file("pipe")), SAYMGR_EFILE_OPEN);
    EXPECT_EQ(UserDictionary::compile(dir.file("pipe"), 1, 1, dir.file("o.dcb")),
              SAYMGR_EFILE_OPEN);
    EXPECT_EQ(loadBytes(dir, "cat dog\n"), SAYMGR_EDICT_FORMAT);
    EXPECT_EQ(loadBytes(dir, ""), SAYMGR_EDICT_FORMAT);
    EXPECT_EQ(loadBytes(dir, "QVXDCB"), SAYMGR_EDICT_FORMAT);
    EXPECT_EQ(loadBytes(dir, std::string("QVXDCB\x1A\r\n", 9)), SAYMGR_EDICT_FORMAT);
}

TEST(DictionaryLoad, RefusesDamagedBinaryDictionaries) {
    TempDir dir;
    const std::string good = binary(1, 2, entry("cat", "dog") + entry("nasa", "[[n'a:s@]]"));
    ASSERT_EQ(loadBytes(dir, good), SAYMGR_OK);

    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"magic only", std::string("QVXDCB\x1A\n", 8)},
        {"no entries", binary(1, 0, "")},
        {"truncated header", good.substr(0, 20)},
        {"truncated entries", good.substr(0, good.size() - 6)},
        {"last byte missing", good.substr(0, good.size() - 1)},
        {"trailing byte", good + "x"},
        {"checksum", good.substr(0, good.size() - 1) + static_cast<char>(good.back() ^ 1)},
        {"flipped entry byte", good.substr(0, 30) + 'X' + good.substr(31)},
        {"other version", binary(2, 2, entry("cat", "dog") + entry("nasa", "x"))},
        {"version zero", binary(0, 1, entry("cat", "dog"))},
        {"count too high", binary(1, 3, entry("cat", "dog") + entry("nasa", "x"))},
        {"count too low", binary(1, 1, entry("cat", "dog") + entry("nasa", "x"))},
        {"huge count", binary(1, 0xFFFFFFFF, entry("cat", "dog"))},
        {"word length past the end", binary(1, 1, std::string("\xFF\x00\x01\x00", 4) + "ab")},
        {"empty word", binary(1, 1, entry("", "dog"))},
        {"empty replacement", binary(1, 1, entry("cat", ""))},
        {"word not folded", binary(1, 1, entry("Cat", "dog"))},
        {"two words as key", binary(1, 1, entry("a b", "dog"))},
        {"invalid UTF-8", binary(1, 1, entry("ca\xC3", "dog"))},
        {"control character", binary(1, 1, entry("cat", "d\x1Bog"))},
        {"duplicate word", binary(1, 2, entry("cat", "dog") + entry("cat", "cow"))},
        {"over-long replacement", binary(1, 1, entry("cat", std::string(4097, 'x')))},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loadBytes(dir, c.bytes), SAYMGR_EDICT_LOAD) << c.what;
    }
}

TEST(DictionaryLoad, RefusesMoreThanTheCompilerCanWrite) {
    // Well-formed, but larger than any text dictionary compiles to.
    TempDir dir;
    std::string entries;
    const std::string replacement(4096, 'r');
    uint32_t count = 0;
    for (; entries.size() < 18u * 1024 * 1024; ++count) {
        std::string word = "w";
        for (uint32_t rest = count; rest > 0; rest /= 26) {
            word += static_cast<char>('a' + rest % 26);
        }
        entries += entry(word, replacement);
    }
    EXPECT_EQ(loadBytes(dir, binary(1, count, entries)), SAYMGR_EDICT_LOAD);
}

TEST(DictionaryLoad, AcceptsWhatTheCompilerWrites) {
    TempDir dir;
    ASSERT_EQ(compileText(dir, "Zebra z\napple [[ap@L]]\n\xC9t\xE9 summer\n"), SAYMGR_OK);
    const std::string bytes = readFile(dir.file("out.dcb"));
    // Entries are written in a fixed order: compiling twice gives the same bytes.
    ASSERT_EQ(compileText(dir, "apple [[ap@L]]\n\xC9t\xE9 summer\nZebra z\n"), SAYMGR_OK);
    EXPECT_EQ(readFile(dir.file("out.dcb")), bytes);
    std::unique_ptr<UserDictionary> dictionary;
    ASSERT_EQ(UserDictionary::load(dir.file("out.dcb"), dictionary), SAYMGR_OK);
    EXPECT_EQ(dictionary->size(), 3u);
    EXPECT_EQ(dictionary->languageId(), 1);
}

}  // namespace
