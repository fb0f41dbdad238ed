#include <gtest/gtest.h>
#include <saymgr.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "dictionary/binarydictionary.h"
#include "dictionary/textdictionary.h"
#include "dictionary/userdictionary.h"
#include "dictionary/wordtable.h"
#include "dictionarytestfiles.h"

namespace {

using saymgr::dictionary::BinaryDictionary;
using saymgr::dictionary::TextDictionary;
using saymgr::dictionary::WordTable;

const std::string kTextSeed =
    "; seed dictionary\r\n"
    "cat dog\r\n"
    "NASA [[n'a:s@]]\n"
    "Gr\xFCn gr\xFCne Farbe\n"
    "# comment\n"
    "don't do not\n";

std::string mutate(std::string input, std::mt19937& random) {
    auto pick = [&](std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound)(random);
    };
    const int rounds = 1 + static_cast<int>(pick(3));
    for (int round = 0; round < rounds; ++round) {
        switch (pick(5)) {
            case 0:
                if (!input.empty()) {
                    input[pick(input.size() - 1)] ^= static_cast<char>(1u << pick(7));
                }
                break;
            case 1:
                input.resize(pick(input.size()));
                break;
            case 2:
                input.insert(pick(input.size()), 1, static_cast<char>(pick(255)));
                break;
            case 3:
                if (!input.empty()) {
                    input[pick(input.size() - 1)] = static_cast<char>(pick(255));
                }
                break;
            case 4:
                input.insert(pick(input.size()), std::string(pick(3000), 'w'));
                break;
            default:
                input.erase(pick(input.size()), pick(16));
                break;
        }
    }
    return input;
}

// What the parser accepts, the binary format must carry unchanged.
void checkText(std::string_view source) {
    for (const bool ansi : {false, true}) {
        WordTable table;
        const int32_t status = TextDictionary::parse(source, ansi, table);
        ASSERT_TRUE(status == SAYMGR_OK || status == SAYMGR_EDICT_FORMAT) << status;
        if (status != SAYMGR_OK) {
            continue;
        }
        WordTable decoded;
        int32_t languageId = 0;
        ASSERT_EQ(BinaryDictionary::decode(BinaryDictionary::encode(5, table), languageId, decoded),
                  SAYMGR_OK);
        EXPECT_EQ(languageId, 5);
        EXPECT_EQ(decoded.size(), table.size());
    }
}

void checkBinary(std::string_view bytes) {
    WordTable table;
    int32_t languageId = 0;
    const int32_t status = BinaryDictionary::decode(bytes, languageId, table);
    ASSERT_TRUE(status == SAYMGR_OK || status == SAYMGR_EDICT_FORMAT || status == SAYMGR_EDICT_LOAD)
        << status;
}

TEST(DictionaryFuzz, MutatedTextDictionaries) {
    std::mt19937 random(20261207);
    for (int i = 0; i < 2000; ++i) {
        checkText(mutate(kTextSeed, random));
    }
}

TEST(DictionaryFuzz, MutatedBinaryDictionaries) {
    WordTable table;
    ASSERT_EQ(TextDictionary::parse(kTextSeed, true, table), SAYMGR_OK);
    const std::string seed = BinaryDictionary::encode(1, table);
    std::mt19937 random(7122026);
    int accepted = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string bytes = mutate(seed, random);
        checkBinary(bytes);
        WordTable decoded;
        int32_t languageId = 0;
        accepted += BinaryDictionary::decode(bytes, languageId, decoded) == SAYMGR_OK;
    }
    // A mutation that survives the checksum is practically impossible.
    EXPECT_LT(accepted, 30);
    checkBinary(seed);
}

TEST(DictionaryFuzz, MutatedTextThroughApply) {
    dictionarytest::TempDir dir;
    dictionarytest::writeFile(dir.file("seed.dct"), kTextSeed);
    ASSERT_EQ(saymgr::UserDictionary::compile(dir.file("seed.dct"), 1, 1, dir.file("seed.dcb")),
              SAYMGR_OK);
    std::unique_ptr<saymgr::UserDictionary> dictionary;
    ASSERT_EQ(saymgr::UserDictionary::load(dir.file("seed.dcb"), dictionary), SAYMGR_OK);
    std::mt19937 random(42);
    for (int i = 0; i < 2000; ++i) {
        saymgr::MappedText text{mutate("The cat saw NASA's gr\xC3\xBCn [[cat]] don't cat.", random),
                                {}};
        text.sourceOffsets.resize(text.utf8.size());
        std::iota(text.sourceOffsets.begin(), text.sourceOffsets.end(), 0);
        const saymgr::MappedText out = dictionary->apply(text);
        ASSERT_EQ(out.sourceOffsets.size(), out.utf8.size());
        ASSERT_TRUE(std::is_sorted(out.sourceOffsets.begin(), out.sourceOffsets.end()));
        if (!out.sourceOffsets.empty()) {
            ASSERT_GE(out.sourceOffsets.front(), 0);
            ASSERT_LT(out.sourceOffsets.back(), static_cast<int32_t>(text.utf8.size()));
        }
    }
}

TEST(DictionaryFuzz, EveryByteValue) {
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        checkText(std::string(1, byte));
        checkText(std::string("w") + byte + "x\n");
        checkText(std::string("w x") + byte + "\n");
        checkText(std::string("w ") + byte + "\n");
        checkBinary(std::string(1, byte));
    }
    std::string all;
    for (int value = 0; value < 256; ++value) {
        all += static_cast<char>(value);
    }
    checkText(all);
    checkBinary(all);
}

TEST(DictionaryFuzz, OverLongInput) {
    checkText(std::string(TextDictionary::kMaxFileBytes + 1, 'a'));
    checkText(std::string(200000, 'a') + " b\n");
    checkText("a " + std::string(200000, '[') + "\n");
    checkBinary(std::string("QVXDCB\x1A\n", 8) + std::string(100000, '\xFF'));
}

}  // namespace
