// The monitoring extensions through the C interface: the audio tap, the audio positions of
// the notifications and the phoneme transcription.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "enginehost.h"
#include "saymgr_ext.h"
#include "testsupport/temporaryfolder.h"

namespace saymgrtest {
namespace {

const std::string kSentence = "Hello world, this is a test of the speech engine.";

// What the tap received: every sample in order, and where each block said it began.
struct TapRecord {
    std::vector<int16_t> samples;
    std::vector<int64_t> blockPositions;
    std::vector<int64_t> contiguousPositions;  // where each block should have begun
    int32_t sampleRate = 0;

    static void receive(void* context, const int16_t* samples, int32_t count, int64_t position,
                        int32_t sampleRate) {
        auto& tap = *static_cast<TapRecord*>(context);
        tap.blockPositions.push_back(position);
        tap.contiguousPositions.push_back(static_cast<int64_t>(tap.samples.size()));
        tap.samples.insert(tap.samples.end(), samples, samples + count);
        tap.sampleRate = sampleRate;
    }
};

// A notification with its audio position, and how many samples the tap had delivered when
// it came.
struct PositionedNotice {
    int32_t code;
    int64_t sample;
    int32_t sampleRate;
    int64_t tapped;
};

class EngineMonitorTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        host.onNotice = [this](const Notice& notice) {
            PositionedNotice positioned{notice.code, -1, 0,
                                        static_cast<int64_t>(tap.samples.size())};
            EXPECT_EQ(SaymgrGetNotifyPosition(host.instance(), &positioned.sample,
                                              &positioned.sampleRate),
                      0);
            positioned_.push_back(positioned);
        };
    }

    TapRecord tap;
    std::vector<PositionedNotice> positioned_;
};

TEST_F(EngineMonitorTest, PositionsFollowTheTappedSamples) {
    ASSERT_EQ(SaymgrSetAudioTap(host.instance(), &TapRecord::receive, &tap), 0);
    ASSERT_EQ(EngineSetFrequency(host.instance(), SAYMGR_FREQ_8000), 0);
    ASSERT_EQ(speak(kSentence), 0);

    ASSERT_FALSE(tap.samples.empty());
    EXPECT_EQ(tap.sampleRate, 8000);
    EXPECT_EQ(tap.blockPositions, tap.contiguousPositions) << "blocks follow without gaps";
    ASSERT_GE(positioned_.size(), 3u);
    EXPECT_EQ(positioned_.front().code, SAYMGR_NOTIFY_START);
    EXPECT_EQ(positioned_.front().sample, 0);
    EXPECT_EQ(positioned_.back().code, SAYMGR_NOTIFY_END);
    EXPECT_EQ(positioned_.back().sample, static_cast<int64_t>(tap.samples.size()))
        << "the end lies after the last sample";
    int64_t previous = 0;
    int words = 0;
    for (const PositionedNotice& notice : positioned_) {
        words += notice.code == SAYMGR_NOTIFY_MARK1 ? 1 : 0;
        EXPECT_EQ(notice.sampleRate, 8000);
        EXPECT_GE(notice.sample, previous) << "code " << notice.code;
        EXPECT_LE(notice.sample, notice.tapped) << "its samples were tapped before it came";
        previous = notice.sample;
    }
    EXPECT_EQ(words, 10);

    int64_t outside = -1;
    EXPECT_EQ(SaymgrGetNotifyPosition(host.instance(), &outside, nullptr), SAYMGR_ERANGE);
}

// The tap sees what the sink receives: a raw file holds exactly the tapped samples. (Two
// syntheses of one text differ slightly, as eSpeak NG carries state from one to the next, so
// each comparison is within one run; the null sink's count is checked above.)
TEST_F(EngineMonitorTest, TapSeesWhatTheFileReceives) {
    ASSERT_EQ(SaymgrSetAudioTap(host.instance(), &TapRecord::receive, &tap), 0);
    const testsupport::TemporaryFolder scratch;
    const std::string path = (scratch.path() / "tap.raw").string();
    int32_t bytes = 0;
    ASSERT_EQ(
        EngineSpeakToFile(host.instance(), kSentence.data(), static_cast<int32_t>(kSentence.size()),
                          path.c_str(), SAYMGR_FORMAT_LINEAR16, SAYMGR_TEXT_ANSI, 0, &bytes),
        0);
    const std::string file = readFile(path);
    std::vector<int16_t> stored(file.size() / sizeof(int16_t));
    std::memcpy(stored.data(), file.data(), stored.size() * sizeof(int16_t));
    EXPECT_EQ(tap.samples, stored);
    EXPECT_EQ(positioned_.back().sample, static_cast<int64_t>(stored.size()));

    ASSERT_EQ(SaymgrSetAudioTap(host.instance(), nullptr, nullptr), 0);
    tap = {};
    ASSERT_EQ(speak("Again."), 0);
    EXPECT_TRUE(tap.samples.empty()) << "a removed tap hears nothing";
}

struct PhonemeWord {
    int32_t start;
    int32_t length;
    std::string ipa;

    static void receive(void* context, int32_t start, int32_t length, const char* ipa) {
        static_cast<std::vector<PhonemeWord>*>(context)->push_back({start, length, ipa});
    }
};

std::vector<std::pair<int32_t, int32_t>> rangesOf(const std::vector<PhonemeWord>& words) {
    std::vector<std::pair<int32_t, int32_t>> ranges;
    for (const PhonemeWord& word : words) {
        ranges.emplace_back(word.start, word.length);
    }
    return ranges;
}

TEST_F(EngineMonitorTest, PhonemesHaveOneEntryPerWordWithItsBytes) {
    // "on the" is one sound in eSpeak NG's transcription, "3.5" three words of it.
    const std::string text = "The quick fox sat on the mat. Dr. Smith's e-mail: 3.5 cats!";
    std::vector<PhonemeWord> words;
    ASSERT_EQ(SaymgrTextToPhonemes(host.instance(), text.data(), static_cast<int32_t>(text.size()),
                                   SAYMGR_TEXT_ANSI, &PhonemeWord::receive, &words),
              0);
    const std::vector<std::pair<int32_t, int32_t>> expected{{0, 3},  {4, 5},  {10, 3}, {14, 3},
                                                            {18, 2}, {21, 3}, {25, 3}, {30, 2},
                                                            {34, 7}, {42, 6}, {50, 3}, {54, 4}};
    EXPECT_EQ(rangesOf(words), expected);
    for (const PhonemeWord& word : words) {
        EXPECT_FALSE(word.ipa.empty()) << text.substr(word.start, word.length);
    }
    ASSERT_EQ(words.size(), expected.size());
    EXPECT_EQ(words[2].ipa, "fˈɑːks");
    EXPECT_NE(words[1].ipa.find("kw"), std::string::npos) << words[1].ipa;

    EXPECT_EQ(SaymgrTextToPhonemes(host.instance(), text.data(), 0, SAYMGR_TEXT_ANSI,
                                   &PhonemeWord::receive, &words),
              SAYMGR_ENO_TEXT);
    EXPECT_EQ(
        SaymgrTextToPhonemes(host.instance(), text.data(), 3, SAYMGR_TEXT_ANSI, nullptr, nullptr),
        SAYMGR_ERANGE);
}

// Transcribing leaves eSpeak NG ready to speak, and is refused while it speaks.
TEST_F(EngineMonitorTest, PhonemesAreRefusedWhileSpeaking) {
    std::vector<PhonemeWord> words;
    ASSERT_EQ(SaymgrTextToPhonemes(host.instance(), "Hello.", 6, SAYMGR_TEXT_ANSI,
                                   &PhonemeWord::receive, &words),
              0);
    int32_t during = 0;
    host.onNotice = [&](const Notice& notice) {
        if (notice.code == SAYMGR_NOTIFY_MARK1) {
            during = SaymgrTextToPhonemes(host.instance(), "Hello.", 6, SAYMGR_TEXT_ANSI,
                                          &PhonemeWord::receive, &words);
        }
    };
    ASSERT_EQ(speak(kSentence), 0);
    EXPECT_EQ(during, SAYMGR_EBUSY);
    EXPECT_EQ(host.withCode(SAYMGR_NOTIFY_MARK1).size(), 10u);
    EXPECT_EQ(words.size(), 1u);
}

}  // namespace
}  // namespace saymgrtest
