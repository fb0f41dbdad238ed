// What the monitor makes of a scripted request: cues, subtitle files, figures and JSON lines.
#include <gtest/gtest.h>
#include <saymgr.h>

#include <string>
#include <vector>

#include "monitor/eventjson.h"
#include "monitor/subtitles.h"
#include "monitor/timingfigures.h"

namespace {

using monitor::Cue;
using monitor::LoggedEvent;
using monitor::SpeechLog;

constexpr int32_t kRate = 10000;  // 10 samples a millisecond

// "Sit on the mat. " then a bookmark command and "Go & <run>!" spoken at 10 kHz: "the" has
// no sound of its own and is marked with "mat".
SpeechLog scriptedLog() {
    const std::string text = "Sit on the mat. \x1bM7Go & <run>!";
    SpeechLog log(text, common::CodePage::Ansi1252);
    const auto add = [&log](double ms, int32_t code, int32_t value1, int32_t value2,
                            int64_t sample) {
        log.add({ms, code, value1, value2, sample, sample < 0 ? 0 : kRate});
    };
    add(20, SAYMGR_NOTIFY_START, 0, 0, 0);
    add(21, SAYMGR_NOTIFY_CHUNK, 16, 0, 0);
    add(22, SAYMGR_NOTIFY_MARK1, 3, 0, 0);
    add(226, SAYMGR_NOTIFY_MARK1, 2, 4, 2000);
    add(421, SAYMGR_NOTIFY_MARK1, 3, 7, 4000);
    add(421, SAYMGR_NOTIFY_MARK1, 3, 11, 4000);
    add(1020, SAYMGR_NOTIFY_CHUNK, 14, 0, 10000);
    add(1020, SAYMGR_NOTIFY_MARK2, 3, 16, 10000);
    add(1022, SAYMGR_NOTIFY_MARK1, 2, 19, 10000);
    add(1228, SAYMGR_NOTIFY_MARK1, 3, 25, 12000);
    add(1620, SAYMGR_NOTIFY_END, 0, 0, 16000);
    return log;
}

TEST(SubtitleCues, WordsAndPiecesFromTheLog) {
    const SpeechLog log = scriptedLog();
    const std::vector<Cue> words{{0, 200, "Sit"},
                                 {200, 400, "on"},
                                 {400, 1000, "the mat"},
                                 {1000, 1200, "Go"},
                                 {1200, 1600, "run"}};
    EXPECT_EQ(monitor::buildCues(log, monitor::SubtitleUnit::Word), words);
    const std::vector<Cue> pieces{{0, 1000, "Sit on the mat."}, {1000, 1600, "Go & <run>!"}};
    EXPECT_EQ(monitor::buildCues(log, monitor::SubtitleUnit::Piece), pieces);
}

TEST(SubtitleFiles, SubRipAndWebVtt) {
    const std::vector<Cue> cues{{0, 1005, "a < b & c"}, {3723004, 3723999, "two\nlines  -->"}};
    EXPECT_EQ(monitor::formatCues(cues, monitor::SubtitleFormat::Srt),
              "1\n00:00:00,000 --> 00:00:01,005\na < b & c\n\n"
              "2\n01:02:03,004 --> 01:02:03,999\ntwo lines -->\n\n");
    EXPECT_EQ(monitor::formatCues(cues, monitor::SubtitleFormat::WebVtt),
              "WEBVTT\n\n"
              "1\n00:00:00.000 --> 00:00:01.005\na &lt; b &amp; c\n\n"
              "2\n01:02:03.004 --> 01:02:03.999\ntwo lines --&gt;\n\n");
    EXPECT_EQ(monitor::subtitleFormatOf("out/Film.SRT"), monitor::SubtitleFormat::Srt);
    EXPECT_EQ(monitor::subtitleFormatOf("a.vtt"), monitor::SubtitleFormat::WebVtt);
    EXPECT_EQ(monitor::subtitleFormatOf("a.srt.txt"), std::nullopt);
    EXPECT_EQ(monitor::subtitleFormatOf("srt"), std::nullopt);
}

TEST(TimingFigures, FromPositionsAndArrivals) {
    const monitor::TimingFigures expected{20.0, 1.6, 1620.0 / 1600.0, 6 * 60000.0 / 1600.0,
                                          monitor::LagFigures{1.0, 2.0, 8.0, 6}};
    EXPECT_EQ(monitor::measureTiming(scriptedLog()), expected);

    // An engine without positions: the audio is timed by arrival after the start, and the
    // lag cannot be told.
    SpeechLog plain("Hi there", common::CodePage::Ansi1252);
    plain.add({5, SAYMGR_NOTIFY_START, 0, 0});
    plain.add({6, SAYMGR_NOTIFY_MARK1, 2, 0});
    plain.add({405, SAYMGR_NOTIFY_MARK1, 5, 3});
    plain.add({805, SAYMGR_NOTIFY_END, 0, 0});
    const monitor::TimingFigures estimated{5.0, 0.8, 805.0 / 800.0, 2 * 60000.0 / 800.0,
                                           std::nullopt};
    EXPECT_EQ(monitor::measureTiming(plain), estimated);
    const std::vector<Cue> cues{{1, 400, "Hi"}, {400, 800, "there"}};
    EXPECT_EQ(monitor::buildCues(plain, monitor::SubtitleUnit::Word), cues);
}

TEST(EventJson, LinesWithTextAndPosition) {
    SpeechLog log("Say \"\xe9t\xe9\"\t!", common::CodePage::Ansi1252);
    log.add({1.25, SAYMGR_NOTIFY_START, 0, 0, 0, 8000});
    log.add({2, SAYMGR_NOTIFY_CHUNK, 12, 0});
    log.add({3, SAYMGR_NOTIFY_MARK1, 5, 4, 4000, 8000});
    EXPECT_EQ(monitor::eventJson(log, log.events()[0]),
              R"({"ms":1.2,"code":7000,"name":"start","sample":0,"audioMs":0.0})");
    EXPECT_EQ(monitor::eventJson(log, log.events()[1]),
              R"({"ms":2.0,"code":7002,"name":"piece","start":0,"length":12,)"
              R"("text":"Say \"été\"\u0009!","sample":null,"audioMs":null})");
    EXPECT_EQ(monitor::eventJson(log, log.events()[2]),
              R"({"ms":3.0,"code":7003,"name":"word","start":4,"length":5,)"
              R"("text":"\"été\"","sample":4000,"audioMs":500.0})");
}

}  // namespace
