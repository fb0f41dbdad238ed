// The sample dictionary of the start-up directory must be one the engine accepts.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include <unistd.h>

#include "dictionary/userdictionary.h"

namespace {

TEST(SampleDictionaryTest, CompilesAndLoadsWithEveryEntry) {
    const std::filesystem::path source =
        std::filesystem::path(VOXTRIAL_RUNTIME_DIR) / "SAMPLE_EN.DCT";
    const std::filesystem::path binary = std::filesystem::temp_directory_path() /
                                         ("voxtrial-sample-" + std::to_string(::getpid()) + ".dcb");
    constexpr int32_t kEnglishAmerica = 1033;
    ASSERT_EQ(saymgr::UserDictionary::compile(source.string(), 1, kEnglishAmerica, binary.string()),
              0);
    std::unique_ptr<saymgr::UserDictionary> dictionary;
    const int32_t loaded = saymgr::UserDictionary::load(binary.string(), dictionary);
    std::error_code ignored;
    std::filesystem::remove(binary, ignored);
    ASSERT_EQ(loaded, 0);
    EXPECT_EQ(dictionary->languageId(), kEnglishAmerica);
    EXPECT_EQ(dictionary->size(), 7u);
}

}  // namespace
