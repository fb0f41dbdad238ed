// Sound files written by the engine, read back with libsndfile.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "enginehost.h"
#include "testsupport/temporaryfolder.h"

namespace saymgrtest {
namespace {

const std::string kText =
    "The quick brown fox jumps over the lazy dog. Pack my box with five dozen liquor jugs!";

struct Expected {
    int32_t format;
    int major;
    int subtype;
};

constexpr Expected kFormats[] = {
    {SAYMGR_FORMAT_LINEAR16, SF_FORMAT_RAW, SF_FORMAT_PCM_16},
    {SAYMGR_FORMAT_MULAW, SF_FORMAT_RAW, SF_FORMAT_ULAW},
    {SAYMGR_FORMAT_ALAW, SF_FORMAT_RAW, SF_FORMAT_ALAW},
    {SAYMGR_FORMAT_WAVE8, SF_FORMAT_WAV, SF_FORMAT_PCM_U8},
    {SAYMGR_FORMAT_WAVE16, SF_FORMAT_WAV, SF_FORMAT_PCM_16},
};

struct Sound {
    SF_INFO info{};
    std::vector<short> samples;
};

// Reads a written file; raw files are described by what the engine was asked for.
bool readSound(const std::string& path, const Expected& expected, int rate, Sound& sound) {
    if (expected.major == SF_FORMAT_RAW) {
        sound.info.samplerate = rate;
        sound.info.channels = 1;
        sound.info.format = SF_FORMAT_RAW | expected.subtype;
    }
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
    if (file == nullptr) {
        return false;
    }
    sound.samples.resize(static_cast<std::size_t>(sound.info.frames));
    const sf_count_t read = sf_read_short(file, sound.samples.data(), sound.info.frames);
    sf_close(file);
    return read == sound.info.frames;
}

int peak(const std::vector<short>& samples) {
    int highest = 0;
    for (const short sample : samples) {
        highest = std::max(highest, std::abs(static_cast<int>(sample)));
    }
    return highest;
}

class EngineFileTest : public EngineFixture {
  protected:
    testsupport::TemporaryFolder scratch;
    const std::filesystem::path& directory = scratch.path();
};

TEST_F(EngineFileTest, EveryFormatAtEveryFrequency) {
    const std::pair<int32_t, int> frequencies[] = {{7, 7200}, {8, 8000}, {10, 10000}, {11, 11025}};
    for (const auto& [code, rate] : frequencies) {
        ASSERT_EQ(EngineSetFrequency(host.instance(), code), 0);
        for (const Expected& expected : kFormats) {
            SCOPED_TRACE(::testing::Message() << "format " << expected.format << " at " << rate);
            const std::string path =
                (directory /
                 std::string("f").append(std::to_string(expected.format)).append(".snd"))
                    .string();
            int32_t bytes = -1;
            host.notices.clear();
            ASSERT_EQ(generate(kText, path, expected.format, &bytes), 0);
            EXPECT_EQ(bytes, static_cast<int32_t>(std::filesystem::file_size(path)));
            Sound sound;
            ASSERT_TRUE(readSound(path, expected, rate, sound));
            EXPECT_EQ(sound.info.samplerate, rate);
            EXPECT_EQ(sound.info.channels, 1);
            EXPECT_EQ(sound.info.format & SF_FORMAT_TYPEMASK, expected.major);
            EXPECT_EQ(sound.info.format & SF_FORMAT_SUBMASK, expected.subtype);
            const double seconds = static_cast<double>(sound.info.frames) / rate;
            EXPECT_GT(seconds, 3.0);
            EXPECT_LT(seconds, 9.0);
            EXPECT_GT(peak(sound.samples), 3000) << "not silent";
            EXPECT_EQ(host.notices.front().code, SAYMGR_NOTIFY_START);
            EXPECT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END);
            EXPECT_EQ(host.withCode(SAYMGR_NOTIFY_MARK1).size(), 17u);
        }
    }
}

TEST_F(EngineFileTest, PauseCommandLengthensTheFile) {
    const std::string plain = (directory / "plain.wav").string();
    const std::string paused = (directory / "paused.wav").string();
    int32_t plainBytes = 0;
    int32_t pausedBytes = 0;
    ASSERT_EQ(generate("one two", plain, SAYMGR_FORMAT_WAVE16, &plainBytes), 0);
    ASSERT_EQ(generate("one \x1bP2000two", paused, SAYMGR_FORMAT_WAVE16, &pausedBytes), 0);
    const int32_t twoSeconds = 2 * 11025 * 2;
    EXPECT_NEAR(pausedBytes - plainBytes, twoSeconds, twoSeconds / 5);
}

TEST_F(EngineFileTest, SpellCommandReachesOverBlanks) {
    const auto bytes = [this](const std::string& text) {
        int32_t size = 0;
        EXPECT_EQ(generate(text, (directory / "spelled.wav").string(), SAYMGR_FORMAT_WAVE16, &size),
                  0);
        return size;
    };
    const int32_t spoken = bytes("hello international");
    const int32_t touching = bytes("hello \x1bSinternational");
    const int32_t spaced = bytes("hello \x1bS \t international");
    EXPECT_GT(touching, spoken * 3 / 2) << "thirteen letters take longer than one word";
    EXPECT_NEAR(spaced, touching, touching / 20);
}

TEST_F(EngineFileTest, RefusesBadArguments) {
    int32_t bytes = -1;
    const std::string path = (directory / "bad.wav").string();
    EXPECT_EQ(generate(kText, path, 5, &bytes), SAYMGR_EOUTPUT_FORMAT);
    EXPECT_EQ(generate(kText, path, -1, &bytes), SAYMGR_EOUTPUT_FORMAT);
    EXPECT_EQ(generate("", path, SAYMGR_FORMAT_WAVE16, &bytes), SAYMGR_ENO_TEXT);
    EXPECT_EQ(
        generate(kText, (directory / "missing" / "x.wav").string(), SAYMGR_FORMAT_WAVE16, &bytes),
        SAYMGR_EFILE_OPEN);
    EXPECT_EQ(bytes, 0);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(host.notices.empty());
}

TEST_F(EngineFileTest, TargetsThatAreNoPlainFile) {
    int32_t bytes = -1;
    EXPECT_EQ(generate(kText, directory.string(), SAYMGR_FORMAT_WAVE16, &bytes), SAYMGR_EFILE_OPEN);
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    EXPECT_EQ(generate(kText, "", SAYMGR_FORMAT_WAVE16, &bytes), SAYMGR_EFILE_OPEN);
    EXPECT_EQ(EngineSpeakToFile(host.instance(), kText.data(), 5, nullptr, 0, 1, 0, &bytes),
              SAYMGR_EFILE_OPEN);
    // A device on which every write fails (a private copy of /dev/full, where one can be
    // made): it is not "the partial file" to remove.
    const std::string full = (directory / "full").string();
    std::filesystem::remove(full);
    if (::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
        for (const Expected& expected : kFormats) {
            EXPECT_NE(generate(kText, full, expected.format, &bytes), 0);
            EXPECT_EQ(bytes, 0);
            ASSERT_TRUE(std::filesystem::is_character_file(full)) << expected.format;
        }
        std::filesystem::remove(full);
    }
    // A named pipe: refused at once while nobody reads it, written to while somebody does.
    const std::string pipe = (directory / "pipe").string();
    std::filesystem::remove(pipe);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(generate(kText, pipe, SAYMGR_FORMAT_LINEAR16, &bytes), SAYMGR_EFILE_OPEN);
    const int readEnd = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(readEnd, 0);
    std::size_t heard = 0;
    std::atomic<bool> generated{false};
    std::thread reader([&] {
        // Until the engine opens its end, the pipe reads as empty.
        std::vector<char> buffer(4096);
        for (bool written = false;;) {
            const ssize_t count = ::read(readEnd, buffer.data(), buffer.size());
            if (count > 0) {
                heard += static_cast<std::size_t>(count);
                written = true;
            } else if (count == 0 && (written || generated)) {
                break;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    });
    EXPECT_EQ(generate(kText, pipe, SAYMGR_FORMAT_LINEAR16, &bytes), 0);
    generated = true;
    reader.join();
    ::close(readEnd);
    EXPECT_GT(heard, 11025u * 2);
    EXPECT_EQ(bytes, 0) << "a pipe has no file size";
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_EQ(generate(kText, "/dev/null", SAYMGR_FORMAT_WAVE16, &bytes), 0);
    EXPECT_EQ(generate(kText, (directory / "after.raw").string(), 0, &bytes), 0)
        << "the engine is usable after the failures";
}

// A reader that opens the pipe and then never reads: the engine fills the pipe and waits, and
// a stop must still end the generation. Should it not, a guard drains the pipe after a while
// so that the test fails instead of hanging.
TEST_F(EngineFileTest, StopEndsAGenerationIntoAPipeNobodyEmpties) {
    const std::string pipe = (directory / "stalled").string();
    std::filesystem::remove(pipe);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int readEnd = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(readEnd, 0);
    std::atomic<bool> returned{false};
    std::atomic<bool> drained{false};
    std::thread guard([&] {
        for (int i = 0; i < 1000 && !returned; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::vector<char> buffer(65536);
        while (!returned) {
            drained = ::read(readEnd, buffer.data(), buffer.size()) > 0 || drained;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    host.onDispatch = [&] {
        if (host.dispatchCount == 30) {
            EXPECT_EQ(EngineStop(host.instance(), 1), 0);
        }
    };
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += kText + " ";
    }
    int32_t bytes = -1;
    const int32_t status = generate(text, pipe, SAYMGR_FORMAT_LINEAR16, &bytes);
    returned = true;
    guard.join();
    ::close(readEnd);
    EXPECT_FALSE(drained) << "the generation ended only when the pipe was read";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(bytes, 0);
    EXPECT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END);
}

// A reader that closes the pipe while the engine waits for it fails the generation (-3)
// instead of ending the process with SIGPIPE.
TEST_F(EngineFileTest, AReaderThatGoesAwayFailsTheGeneration) {
    const std::string pipe = (directory / "abandoned").string();
    std::filesystem::remove(pipe);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    int readEnd = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(readEnd, 0);
    ::fcntl(readEnd, F_SETPIPE_SZ, 4096);
    host.onDispatch = [&] {
        if (host.dispatchCount == 30) {
            ::close(readEnd);
            readEnd = -1;
        }
    };
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += kText + " ";
    }
    int32_t bytes = -1;
    EXPECT_EQ(generate(text, pipe, SAYMGR_FORMAT_LINEAR16, &bytes), SAYMGR_EFILE_WRITE);
    EXPECT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END);
    if (readEnd >= 0) {
        ::close(readEnd);
    }
}

// Runs `generate` while files may not grow past `limit` bytes (writes beyond fail instead of
// raising SIGXFSZ), then lifts the limit again.
template <typename Generate>
int32_t withFileSizeLimit(rlim_t limit, Generate generate) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limited{limit, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
    const int32_t status = generate();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return status;
}

// A generation that fails part way (here: at a file size limit) leaves an existing file as it
// was, and no new file where there was none.
TEST_F(EngineFileTest, FailedGenerationKeepsTheFileThatWasThere) {
    const std::string old = (directory / "old.wav").string();
    const std::string fresh = (directory / "fresh.wav").string();
    const auto generateWithLimit = [&](const std::string& path, rlim_t limit) {
        return withFileSizeLimit(limit, [&] {
            int32_t bytes = 0;
            return generate(kText, path, SAYMGR_FORMAT_WAVE16, &bytes);
        });
    };
    // Too small for the header (the file cannot be started), or for the sound.
    const std::pair<rlim_t, int32_t> limits[] = {{20, SAYMGR_EFILE_OPEN},
                                                 {64 * 1024, SAYMGR_EFILE_WRITE}};
    for (const auto& [limit, expected] : limits) {
        SCOPED_TRACE(::testing::Message() << "limit " << limit);
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
        std::ofstream(old, std::ios::binary) << "the user's own recording";
        ASSERT_EQ(::chmod(old.c_str(), 0640), 0);
        EXPECT_EQ(generateWithLimit(old, limit), expected);
        EXPECT_EQ(generateWithLimit(fresh, limit), expected);
        EXPECT_EQ(readFile(old), "the user's own recording");
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            names.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(names, std::vector<std::string>{"old.wav"});
    }
    int32_t bytes = 0;
    ASSERT_EQ(generate(kText, old, SAYMGR_FORMAT_WAVE16, &bytes), 0);
    EXPECT_EQ(bytes, static_cast<int32_t>(std::filesystem::file_size(old)));
    EXPECT_EQ(std::filesystem::status(old).permissions(), std::filesystem::perms::owner_read |
                                                              std::filesystem::perms::owner_write |
                                                              std::filesystem::perms::group_read)
        << "a replaced file keeps its mode";
}

TEST_F(EngineFileTest, StoppedFileIsCompleteUpToTheStop) {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += kText + " ";
    }
    const std::string path = (directory / "stopped.wav").string();
    host.onNotice = [this](const Notice& notice) {
        if (notice.code == SAYMGR_NOTIFY_MARK1 && host.withCode(SAYMGR_NOTIFY_MARK1).size() == 30) {
            EXPECT_EQ(EngineStop(host.instance(), 1), 0);
        }
    };
    int32_t bytes = 0;
    ASSERT_EQ(generate(text, path, SAYMGR_FORMAT_WAVE16, &bytes), 0);
    EXPECT_EQ(host.notices.back().code, SAYMGR_NOTIFY_END);
    EXPECT_LT(host.withCode(SAYMGR_NOTIFY_MARK1).size(), 17u * 40);
    Sound sound;
    ASSERT_TRUE(readSound(path, kFormats[4], 11025, sound));
    EXPECT_EQ(bytes, static_cast<int32_t>(std::filesystem::file_size(path)));
    EXPECT_EQ(static_cast<int64_t>(bytes), 44 + sound.info.frames * 2) << "header matches data";
    EXPECT_GT(sound.info.frames, 11025);
    EXPECT_LT(sound.info.frames, 11025 * 60);
}

TEST_F(EngineFileTest, SpeakingWhileWritingIsBusy) {
    int32_t nested = 1;
    host.onDispatch = [&] {
        nested = EngineSpeak(host.instance(), 1, "x", 1, 1, nullptr);
        int32_t bytes = 0;
        EXPECT_EQ(generate("x", (directory / "nested.wav").string(), 4, &bytes), SAYMGR_EBUSY);
    };
    ASSERT_EQ(EngineSetSystemMode(host.instance(), 0x0A), 0);
    int32_t bytes = 0;
    ASSERT_EQ(generate(kText, (directory / "outer.wav").string(), 4, &bytes), 0);
    EXPECT_EQ(nested, SAYMGR_EBUSY);
}

}  // namespace
}  // namespace saymgrtest
