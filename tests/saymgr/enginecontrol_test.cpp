// Pause, resume and stop from inside the engine's dispatch loop, requests while speaking,
// and a stress run of rapid control cycles.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "enginehost.h"
#include "testsupport/temporaryfolder.h"

namespace saymgrtest {
namespace {

using Clock = std::chrono::steady_clock;

const std::string kSentence = "Speech control is tested with this sentence of several words. ";

std::string repeated(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += kSentence;
    }
    return text;
}

// Paced at 20 times real time, so that the controls meet a speech still going.
class EngineControlTest : public EngineFixture {
  protected:
    EngineControlTest() : EngineFixture("20") {}

    std::size_t words() const { return host.withCode(SAYMGR_NOTIFY_MARK1).size(); }
};

TEST_F(EngineControlTest, PauseHoldsTheSpeechAndResumeFinishesIt) {
    enum { Speaking, Paused, Settled, Resumed } stage = Speaking;
    std::size_t wordsAtPause = 0;
    Clock::time_point pausedAt;
    host.onDispatch = [&] {
        const auto sincePause = Clock::now() - pausedAt;
        if (stage == Speaking && words() >= 3) {
            ASSERT_EQ(EnginePause(host.instance(), 1), 0);
            pausedAt = Clock::now();
            stage = Paused;
        } else if (stage == Paused && sincePause > std::chrono::milliseconds(60)) {
            wordsAtPause = words();  // what was due before the pause took hold
            stage = Settled;
        } else if (stage == Settled && sincePause > std::chrono::milliseconds(400)) {
            EXPECT_EQ(words(), wordsAtPause) << "no words are heard while paused";
            ASSERT_EQ(EngineResume(host.instance(), 1), 0);
            stage = Resumed;
        }
    };
    ASSERT_EQ(speak(repeated(3)), 0);
    EXPECT_EQ(stage, Resumed);
    EXPECT_EQ(words(), 30u);
    EXPECT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END);
}

// How long a stop takes is measured in the stream benchmark.
TEST_F(EngineControlTest, StopEndsTheSpeechAtOnce) {
    host.onNotice = [&](const Notice& notice) {
        if (notice.code == SAYMGR_NOTIFY_MARK1 && words() == 2) {
            EXPECT_EQ(EngineStop(host.instance(), 1), 0);
        }
    };
    ASSERT_EQ(speak(repeated(20)), 0);
    EXPECT_LE(words(), 4u);
    EXPECT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END);
    EXPECT_EQ(EngineStop(host.instance(), 1), 0) << "stop while idle";
    EXPECT_EQ(EnginePause(host.instance(), 1), 0);
    EXPECT_EQ(EngineResume(host.instance(), 1), 0);
}

TEST_F(EngineControlTest, SystemModeDecidesAboutRequestsWhileSpeaking) {
    setenv("SAYMGR_PACE", "0", 1);
    int32_t nested = 1;
    bool asked = false;
    host.onNotice = [&](const Notice& notice) {
        if (!asked && notice.code == SAYMGR_NOTIFY_MARK1) {
            asked = true;
            nested = speak("Second text.");
        }
    };
    const auto run = [&](int32_t mode) {
        host.notices.clear();
        asked = false;
        EXPECT_EQ(EngineSetSystemMode(host.instance(), mode), 0);
        EXPECT_EQ(speak(repeated(2)), 0);
        return host.withCode(SAYMGR_NOTIFY_END).size();
    };
    EXPECT_EQ(run(0x11), 1u) << "speak directly";
    EXPECT_EQ(nested, SAYMGR_EBUSY);
    EXPECT_EQ(run(0x0A), 2u) << "queue";
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(words(), 22u) << "both texts complete";
    // In real time the first text is still being heard when the second one interrupts it; as
    // fast as synthesis goes, all of it may have been heard by then.
    setenv("SAYMGR_PACE", "1", 1);
    EXPECT_EQ(run(0x0C), 2u) << "interrupt";
    EXPECT_LT(words(), 22u) << "the first text was cut short";
    setenv("SAYMGR_PACE", "0", 1);
    EXPECT_EQ(run(0x14), 2u) << "interrupt, but not interruptible: queued";
    EXPECT_EQ(words(), 22u);
}

// The instance belongs to the thread that opened it; another thread's calls change nothing,
// also while the owner is speaking.
TEST_F(EngineControlTest, CallsFromAnotherThreadAreRefused) {
    setenv("SAYMGR_PACE", "0", 1);
    std::vector<int32_t> answers;
    const auto callFromAnotherThread = [&] {
        std::thread([&] {
            int32_t second = 0;
            ManufacturerInfo maker{};
            answers = {EngineStop(host.instance(), 1),
                       EnginePause(host.instance(), 1),
                       EngineSpeak(host.instance(), 1, "x", 1, 1, nullptr),
                       EngineSetFrequency(host.instance(), SAYMGR_FREQ_8000),
                       EngineClose(host.instance()),
                       EngineOpen(&second, nullptr, nullptr),
                       EngineGetManufacturerInfo(&maker)};
        }).join();
    };
    const std::vector<int32_t> refused{SAYMGR_EINSTANCE,
                                       SAYMGR_EINSTANCE,
                                       SAYMGR_EINSTANCE,
                                       SAYMGR_EINSTANCE,
                                       SAYMGR_EINSTANCE,
                                       SAYMGR_EINSTANCE_BUSY,
                                       0};
    callFromAnotherThread();
    EXPECT_EQ(answers, refused) << "while idle";
    answers.clear();
    host.onDispatch = [&] {
        if (answers.empty()) {
            callFromAnotherThread();
        }
    };
    ASSERT_EQ(speak(kSentence), 0);
    EXPECT_EQ(answers, refused) << "while speaking";
    EXPECT_EQ(words(), 10u) << "the speech went on to its end";
    InstanceInfo info{};
    ASSERT_EQ(EngineGetInstanceInfo(host.instance(), &info), 0);
    EXPECT_EQ(info.frequency, SAYMGR_FREQ_11025);
}

TEST_F(EngineControlTest, CloseWhileSpeakingIsRefused) {
    int32_t closed = 1;
    host.onDispatch = [&] {
        closed = EngineClose(host.instance());
        EngineStop(host.instance(), 1);
    };
    ASSERT_EQ(speak(kSentence), 0);
    EXPECT_EQ(closed, SAYMGR_EBUSY);
}

// The end of a text is notified while EngineSpeak still runs: the speech counts as running
// until the call returns, whatever the callback asks for.
TEST_F(EngineControlTest, CallsFromTheEndNotificationSeeARunningSpeech) {
    setenv("SAYMGR_PACE", "0", 1);
    int32_t closed = 1;
    int32_t nested = 1;
    int32_t toFile = 1;
    host.onNotice = [&](const Notice& notice) {
        if (notice.code == SAYMGR_NOTIFY_END && closed == 1) {
            closed = EngineClose(host.instance());
            nested = speak("Again.");
            int32_t bytes = -1;
            toFile = EngineSpeakToFile(host.instance(), "Again.", 6, "/nonexistent/x.wav", 4, 1, 0,
                                       &bytes);
        }
    };
    ASSERT_EQ(speak("One sentence."), 0);
    EXPECT_EQ(closed, SAYMGR_EBUSY);
    EXPECT_EQ(nested, SAYMGR_EBUSY) << "speak directly refuses a second text";
    EXPECT_EQ(toFile, SAYMGR_EBUSY);
    EXPECT_EQ(host.withCode(SAYMGR_NOTIFY_END).size(), 1u);

    // Queued from the end notification: spoken by the running call, not by a nested one.
    ASSERT_EQ(EngineSetSystemMode(host.instance(), 0x0A), 0);
    host.notices.clear();
    int ends = 0;
    host.onNotice = [&](const Notice& notice) {
        if (notice.code == SAYMGR_NOTIFY_END && ++ends == 1) {
            EXPECT_EQ(speak("Second."), 0);
            EXPECT_EQ(speak("Third."), 0);
        } else if (notice.code == SAYMGR_NOTIFY_END && ends == 2) {
            EXPECT_EQ(EngineStop(host.instance(), 1), 0) << "empties the queue";
        }
    };
    ASSERT_EQ(speak("First."), 0);
    EXPECT_EQ(ends, 2) << "the stop between two texts dropped the third";
    EXPECT_EQ(host.withCode(SAYMGR_NOTIFY_START).size(), 2u);
}

TEST_F(EngineControlTest, StopWhilePausedEndsSpeechAndFiles) {
    int dispatches = 0;
    host.onDispatch = [&] {
        if (++dispatches == 3) {
            EXPECT_EQ(EnginePause(host.instance(), 1), 0);
        } else if (dispatches == 20) {
            EXPECT_EQ(EngineStop(host.instance(), 1), 0);
        }
    };
    ASSERT_EQ(speak(repeated(5)), 0);
    EXPECT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END);

    dispatches = 0;
    const testsupport::TemporaryFolder scratch;
    const std::string path = (scratch.path() / "paused-stop.wav").string();
    const std::string text = repeated(5);
    int32_t bytes = 0;
    ASSERT_EQ(EngineSpeakToFile(host.instance(), text.data(), static_cast<int32_t>(text.size()),
                                path.c_str(), SAYMGR_FORMAT_WAVE16, 1, 0, &bytes),
              0);
    EXPECT_GE(bytes, 44);
    EXPECT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END);
    ASSERT_EQ(speak("Not paused any more."), 0) << "the next speech starts unpaused";
}

TEST_F(EngineControlTest, RapidControlCycles) {
    setenv("SAYMGR_PACE", "50", 1);
    host.waitInDispatch = false;
    const std::string text = repeated(4);
    int step = 0;
    host.onDispatch = [&] {
        switch (step++ % 5) {
            case 1:
                EnginePause(host.instance(), 1);
                break;
            case 2:
                EngineResume(host.instance(), 1);
                break;
            case 3:
                EngineStop(host.instance(), 1);
                break;
            default:
                break;
        }
    };
    for (int cycle = 0; cycle < 1000; ++cycle) {
        step = cycle % 3;  // vary where in the speech the controls land
        host.notices.clear();
        ASSERT_EQ(speak(text), 0) << cycle;
        ASSERT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END) << cycle;
        ASSERT_EQ(host.notices.front().code, SAYMGR_NOTIFY_START) << cycle;
    }
}

TEST_F(EngineControlTest, MegabyteTextStartsAtOnceAndStops) {
    setenv("SAYMGR_PACE", "0", 1);
    std::string text = repeated((1 << 20) / static_cast<int>(kSentence.size()) + 1);
    text.resize(1 << 20);
    host.onNotice = [&](const Notice& notice) {
        if (notice.code == SAYMGR_NOTIFY_MARK1 && words() == 100) {
            EngineStop(host.instance(), 1);
        }
    };
    ASSERT_EQ(speak(text), 0);
    EXPECT_GE(words(), 100u);
    EXPECT_LT(words(), 200u);
}

}  // namespace
}  // namespace saymgrtest
