#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "suite/comparison.h"

namespace suitetest {
namespace {

constexpr int32_t kRate = 11025;

// A word of a made-up rendering: its text, IPA, and the sound it is: a tone (Hz) for a time.
struct Spoken {
    std::string text;
    std::string ipa;
    double hz;
    double ms;
};

// Words one after another, each a tone with its harmonics, separated by a blank.
suite::Rendering rendering(const std::vector<Spoken>& words) {
    suite::Rendering result;
    result.sampleRate = kRate;
    int32_t start = 0;
    for (const Spoken& word : words) {
        result.words.push_back({start, static_cast<int32_t>(word.text.size()), word.text,
                                static_cast<int64_t>(result.samples.size()), word.ipa});
        const auto count = static_cast<int>(word.ms * kRate / 1000);
        for (int i = 0; i < count; ++i) {
            double value = 0;
            for (int harmonic = 1; harmonic <= 4; ++harmonic) {
                value += std::sin(2 * std::numbers::pi * word.hz * harmonic * i / kRate) / harmonic;
            }
            result.samples.push_back(static_cast<int16_t>(value * 6000));
        }
        start += static_cast<int32_t>(word.text.size()) + 1;
    }
    return result;
}

const std::vector<Spoken> kSentence{
    {"one", "wˈʌn", 180, 300}, {"two", "tˈuː", 220, 250}, {"three", "θɹˈiː", 200, 350}};

TEST(Comparison, TheSameRenderingPasses) {
    const suite::CaseResult result =
        suite::compareRenderings(rendering(kSentence), rendering(kSentence), {});
    EXPECT_EQ(result.status, suite::CaseStatus::Pass);
    EXPECT_TRUE(result.words.empty());
    EXPECT_FALSE(result.before);
}

TEST(Comparison, ANewPronunciationIsThatWordWithItsIpaBeforeAndAfter) {
    std::vector<Spoken> changed = kSentence;
    changed[1] = {"two", "tˈuːuː", 900, 250};
    const suite::CaseResult result =
        suite::compareRenderings(rendering(kSentence), rendering(changed), {});
    ASSERT_EQ(result.status, suite::CaseStatus::Changed);
    ASSERT_EQ(result.words.size(), 1u);
    const suite::WordChange& word = result.words[0];
    EXPECT_EQ(word.text, "two");
    EXPECT_EQ(word.ipaBefore + " -> " + word.ipaAfter, "tˈuː -> tˈuːuː");
    EXPECT_TRUE(word.phonemesChanged && word.soundChanged);
    EXPECT_FALSE(word.onsetChanged || word.markChanged || result.durationChanged);
    // Both drawings mark the changed word and only it.
    ASSERT_TRUE(result.before && result.after);
    EXPECT_EQ(result.after->words[1].changed, true);
    EXPECT_EQ(result.after->words[0].changed || result.after->words[2].changed, false);
}

// Slower speech moves the words and lengthens the case, but each word still sounds the same.
TEST(Comparison, SlowerSpeechChangesDurationAndOnsetsButNeitherPhonemesNorSound) {
    std::vector<Spoken> slower = kSentence;
    for (Spoken& word : slower) {
        word.ms *= 1.3;
    }
    const suite::CaseResult result =
        suite::compareRenderings(rendering(kSentence), rendering(slower), {});
    EXPECT_EQ(result.status, suite::CaseStatus::Changed);
    EXPECT_TRUE(result.durationChanged);
    ASSERT_EQ(result.words.size(), 2u);  // the first word starts where it did
    for (const suite::WordChange& word : result.words) {
        EXPECT_TRUE(word.onsetChanged) << word.text;
        EXPECT_FALSE(word.phonemesChanged || word.soundChanged) << word.text;
    }
}

TEST(Comparison, TolerancesDecideWhatCountsAsAChange) {
    std::vector<Spoken> longer = kSentence;
    longer[2].ms += 30;  // 3.3 % longer, the onsets unchanged
    EXPECT_EQ(suite::compareRenderings(rendering(kSentence), rendering(longer), {}).status,
              suite::CaseStatus::Pass);
    suite::Tolerances strict;
    strict.durationPercent = 2;
    EXPECT_TRUE(
        suite::compareRenderings(rendering(kSentence), rendering(longer), strict).durationChanged);
}

TEST(Comparison, AWordWhoseMarkIsMissingOnOneSideIsReported) {
    suite::Rendering without = rendering(kSentence);
    without.words.erase(without.words.begin() + 1);
    const suite::CaseResult result = suite::compareRenderings(rendering(kSentence), without, {});
    const auto two = std::find_if(result.words.begin(), result.words.end(),
                                  [](const suite::WordChange& word) { return word.text == "two"; });
    ASSERT_NE(two, result.words.end());
    EXPECT_TRUE(two->markChanged);
    EXPECT_TRUE(two->onsetBefore && !two->onsetAfter);
}

TEST(Comparison, AnEnvelopeHoldsEachColumnsExtremes) {
    suite::Rendering ramp;
    ramp.sampleRate = kRate;
    ramp.samples = {0, 5, -3, 7, 1, -9, 2, 4};
    const suite::Envelope envelope = suite::envelopeOf(ramp, 4);
    EXPECT_EQ(envelope, (suite::Envelope{kRate, 8, {0, -3, -9, 2}, {5, 7, 1, 4}}));
}

}  // namespace
}  // namespace suitetest
