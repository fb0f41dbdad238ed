// Playback through PortAudio, on an ALSA device that writes what it is given into a file, so
// the test needs no sound card.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "enginehost.h"

namespace saymgrtest {
namespace {

const char* const kAlsaConfig = "/usr/share/alsa/alsa.conf";

TEST(EnginePlayback, PlaysThroughPortAudio) {
    if (!std::filesystem::exists(kAlsaConfig)) {
        GTEST_SKIP() << "no ALSA configuration";
    }
    const auto directory = std::filesystem::path(::testing::TempDir()) / "saymgr_playback";
    std::filesystem::create_directories(directory);
    const std::string played = (directory / "played.raw").string();
    const std::string config = (directory / "asound.conf").string();
    std::filesystem::remove(played);
    std::ofstream(config) << "pcm.!default { type file slave.pcm \"null\" file \"" << played
                          << "\" format \"raw\" }\npcm.null { type null }\n";
    setenv("ALSA_CONFIG_PATH", (std::string(kAlsaConfig) + ":" + config).c_str(), 1);
    setenv("SAYMGR_SINK", "portaudio", 1);

    EngineHost host;
    ASSERT_EQ(host.open(), 0);
    const std::string text = "Hello there. This is played.";
    const int32_t status =
        EngineSpeak(host.instance(), 1, text.data(), static_cast<int32_t>(text.size()), 1, nullptr);
    setenv("SAYMGR_SINK", "null", 1);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(host.notices.front().code, SAYMGR_NOTIFY_START);
    EXPECT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END);
    EXPECT_EQ(host.withCode(SAYMGR_NOTIFY_MARK1).size(), 5u);
    ASSERT_TRUE(std::filesystem::exists(played));
    EXPECT_GT(std::filesystem::file_size(played), 20000u) << "about two seconds of sound";
}

}  // namespace
}  // namespace saymgrtest
