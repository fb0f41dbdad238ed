// Playback through PortAudio, on an ALSA device that writes what it is given into a file, so
// the test needs no sound card.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "enginehost.h"

namespace saymgrtest {
namespace {

const char* const kAlsaConfig = "/usr/share/alsa/alsa.conf";

class EnginePlayback : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(kAlsaConfig)) {
            GTEST_SKIP() << "no ALSA configuration";
        }
        std::filesystem::create_directories(directory);
        const std::string config = (directory / "asound.conf").string();
        std::filesystem::remove(played);
        std::ofstream(config) << "pcm.!default { type file slave.pcm \"null\" file \"" << played
                              << "\" format \"raw\" }\npcm.null { type null }\n";
        setenv("ALSA_CONFIG_PATH", (std::string(kAlsaConfig) + ":" + config).c_str(), 1);
        setenv("SAYMGR_SINK", "portaudio", 1);
    }

    void TearDown() override { setenv("SAYMGR_SINK", "null", 1); }

    int32_t speak(EngineHost& host, const std::string& text) {
        return EngineSpeak(host.instance(), 1, text.data(), static_cast<int32_t>(text.size()), 1,
                           nullptr);
    }

    // One folder a test: tests run in parallel, and each resets its own device file.
    const std::filesystem::path directory =
        std::filesystem::path(::testing::TempDir()) /
        (std::string("saymgr_playback_") +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    const std::string played = (directory / "played.raw").string();
};

TEST_F(EnginePlayback, PlaysThroughPortAudio) {
    EngineHost host;
    ASSERT_EQ(host.open(), 0);
    ASSERT_EQ(speak(host, "Hello there. This is played."), 0);
    EXPECT_EQ(host.notices.front().code, SAYMGR_NOTIFY_START);
    EXPECT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END);
    EXPECT_EQ(host.withCode(SAYMGR_NOTIFY_MARK1).size(), 5u);
    ASSERT_TRUE(std::filesystem::exists(played));
    EXPECT_GT(std::filesystem::file_size(played), 20000u) << "about two seconds of sound";
}

// While the engine starts and stops the sound system, what other threads write to the
// standard error stream arrives, and the sound libraries add nothing of their own.
TEST_F(EnginePlayback, LeavesTheStandardErrorStreamAlone) {
    const std::string captured = (directory / "stderr.txt").string();
    const int saved = ::dup(STDERR_FILENO);
    const int file = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(file, 0);
    ::dup2(file, STDERR_FILENO);
    ::close(file);
    std::atomic<bool> done{false};
    std::string expected;
    std::thread writer([&] {
        for (int line = 0; !done; ++line) {
            const std::string text = "line " + std::to_string(line) + "\n";
            if (::write(STDERR_FILENO, text.data(), text.size()) ==
                static_cast<ssize_t>(text.size())) {
                expected += text;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    int32_t status = 0;
    {
        EngineHost host;
        status = host.open();
        if (status == 0) {
            status = speak(host, "Hello.");
        }
    }
    done = true;
    writer.join();
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(readFile(captured), expected);
}

}  // namespace
}  // namespace saymgrtest
