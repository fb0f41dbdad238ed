// Long texts written into files by worker processes, against the same texts written by the
// engine alone, and what happens when a worker dies or the host stops.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "enginehost.h"
#include "saymgr_ext.h"
#include "testsupport/temporaryfolder.h"

namespace saymgrtest {
namespace {

// About `bytes` of varied sentences, in paragraphs of four.
std::string longText(std::size_t bytes) {
    static const std::vector<std::string> kSentences{
        "The committee met on the third of March to review 42 proposals.",
        "Nobody expected the results to be quite so clear!",
        "Was the river higher than it had been last year?",
        "She counted 1,250 birds, mostly swallows and swifts.",
        "Doctor Smith arrived at half past seven with the reports."};
    std::string text;
    for (std::size_t index = 0; text.size() < bytes; ++index) {
        text += kSentences[index % kSentences.size()];
        text += index % 4 == 3 ? "\r\n\r\n" : " ";
    }
    return text;
}

// The processes this one started from the worker executable.
std::vector<pid_t> workers() {
    std::vector<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        pid_t pid = 0;
        std::string name;
        char state = 0;
        pid_t parent = 0;
        if (stat >> pid >> name >> state >> parent && parent == getpid() &&
            name == "(saymgr-worker)") {
            found.push_back(pid);
        }
    }
    return found;
}

struct Written {
    int32_t status = 0;
    std::vector<std::pair<int32_t, int32_t>> words;  // each mark's text position and length
    std::vector<int64_t> pieces;                     // where each piece begins in the sound
    std::vector<short> samples;
    int rate = 0;
};

// Appends the mean level of each `width` samples of [first, end).
void appendMeans(const std::vector<short>& samples, std::size_t first, std::size_t end,
                 std::size_t width, std::vector<double>& means) {
    for (std::size_t start = first; start + width <= std::min(end, samples.size());
         start += width) {
        double sum = 0;
        for (std::size_t index = start; index < start + width; ++index) {
            sum += std::abs(static_cast<double>(samples[index]));
        }
        means.push_back(sum / static_cast<double>(width));
    }
}

// The loudness envelope, the mean level of each 10 ms, piece by piece: the pieces' sounds
// start together however long the pieces before them were, and each is cut to `lengths`.
std::vector<double> envelope(const Written& written, const std::vector<int64_t>& lengths) {
    const auto width = static_cast<std::size_t>(written.rate) / 100;
    std::vector<double> means;
    for (std::size_t piece = 0; piece < lengths.size(); ++piece) {
        const auto first = static_cast<std::size_t>(written.pieces[piece]);
        appendMeans(written.samples, first, first + static_cast<std::size_t>(lengths[piece]), width,
                    means);
    }
    return means;
}

// The pieces' lengths in the shorter of two writings.
std::vector<int64_t> commonLengths(const Written& a, const Written& b) {
    std::vector<int64_t> lengths;
    const auto end = [](const Written& w, std::size_t piece) {
        return piece + 1 < w.pieces.size() ? w.pieces[piece + 1]
                                           : static_cast<int64_t>(w.samples.size());
    };
    for (std::size_t piece = 0; piece < a.pieces.size() && piece < b.pieces.size(); ++piece) {
        lengths.push_back(
            std::min(end(a, piece) - a.pieces[piece], end(b, piece) - b.pieces[piece]));
    }
    return lengths;
}

double correlation(const std::vector<double>& a, const std::vector<double>& b) {
    const std::size_t count = std::min(a.size(), b.size());
    const double meanA = std::accumulate(a.begin(), a.begin() + count, 0.0) / count;
    const double meanB = std::accumulate(b.begin(), b.begin() + count, 0.0) / count;
    double products = 0;
    double squaresA = 0;
    double squaresB = 0;
    for (std::size_t index = 0; index < count; ++index) {
        products += (a[index] - meanA) * (b[index] - meanB);
        squaresA += (a[index] - meanA) * (a[index] - meanA);
        squaresB += (b[index] - meanB) * (b[index] - meanB);
    }
    return products / std::sqrt(squaresA * squaresB);
}

class EngineParallelTest : public EngineFixture {
  protected:
    Written write(const std::string& text, int32_t jobs) {
        EXPECT_EQ(SaymgrSetJobs(host.instance(), jobs), 0);
        host.notices.clear();
        Written written;
        host.onNotice = [&](const Notice& notice) {
            int64_t sample = 0;
            if (notice.code == SAYMGR_NOTIFY_CHUNK &&
                SaymgrGetNotifyPosition(host.instance(), &sample, nullptr) == 0) {
                written.pieces.push_back(sample);
            }
        };
        const std::string path = (m_folder.path() / ("jobs" + std::to_string(jobs))).string();
        int32_t bytes = 0;
        written.status = generate(text, path + ".wav", SAYMGR_FORMAT_WAVE16, &bytes);
        for (const Notice& mark : host.withCode(SAYMGR_NOTIFY_MARK1)) {
            written.words.emplace_back(mark.value2, mark.value1);
        }
        SF_INFO info{};
        if (SNDFILE* file = sf_open((path + ".wav").c_str(), SFM_READ, &info)) {
            written.samples.resize(static_cast<std::size_t>(info.frames));
            sf_read_short(file, written.samples.data(), info.frames);
            sf_close(file);
        }
        written.rate = info.samplerate;
        return written;
    }

    std::filesystem::path file(const char* name) const { return m_folder.path() / name; }

  private:
    testsupport::TemporaryFolder m_folder;
};

// Same words in the same order at the same text positions, the same length within 0.5 %, the
// same loudness piece by piece, and the first job's sound identical to the start of the serial
// file. (eSpeak NG carries state from text to text, so a piece a worker speaks after other
// pieces than the engine would may come out a frame longer or shorter.)
TEST_F(EngineParallelTest, WorkersWriteWhatTheEngineAloneWrites) {
    const std::string text = longText(40000);
    const Written serial = write(text, 1);
    const Written parallel = write(text, 2);
    ASSERT_EQ(serial.status, 0);
    ASSERT_EQ(parallel.status, 0);
    EXPECT_TRUE(workers().empty());
    EXPECT_EQ(parallel.words, serial.words);
    ASSERT_FALSE(serial.samples.empty());
    const double lengths =
        static_cast<double>(parallel.samples.size()) / static_cast<double>(serial.samples.size());
    EXPECT_NEAR(lengths, 1.0, 0.005);
    ASSERT_EQ(parallel.pieces.size(), serial.pieces.size());
    const std::vector<int64_t> pieceLengths = commonLengths(serial, parallel);
    EXPECT_GE(correlation(envelope(serial, pieceLengths), envelope(parallel, pieceLengths)), 0.99);
    const std::size_t firstSecond = static_cast<std::size_t>(serial.rate);
    EXPECT_TRUE(std::equal(serial.samples.begin(), serial.samples.begin() + firstSecond,
                           parallel.samples.begin()));
}

TEST_F(EngineParallelTest, AWorkerThatDiesFailsTheFileAndKeepsTheOldOne) {
    const std::string path = file("kept.wav").string();
    std::ofstream(path) << "the user's file";
    bool killed = false;
    host.onNotice = [&](const Notice& notice) {
        if (notice.code == SAYMGR_NOTIFY_MARK1 && !killed) {
            killed = !workers().empty();
            for (const pid_t worker : workers()) {
                ::kill(worker, SIGKILL);
            }
        }
    };
    ASSERT_EQ(SaymgrSetJobs(host.instance(), 2), 0);
    int32_t bytes = 0;
    EXPECT_EQ(generate(longText(60000), path, SAYMGR_FORMAT_WAVE16, &bytes),
              SAYMGR_EENGINE_LOADING);
    EXPECT_TRUE(killed);
    EXPECT_EQ(readFile(path), "the user's file");
    EXPECT_TRUE(workers().empty());
}

// As when the engine writes alone, a stop ends the file where the speech was.
TEST_F(EngineParallelTest, StopEndsTheWorkersAndTheFile) {
    const std::string path = file("stopped.wav").string();
    host.onNotice = [&](const Notice& notice) {
        if (notice.code == SAYMGR_NOTIFY_MARK1) {
            EngineStop(host.instance(), 1);
        }
    };
    ASSERT_EQ(SaymgrSetJobs(host.instance(), 2), 0);
    int32_t bytes = 0;
    EXPECT_EQ(generate(longText(60000), path, SAYMGR_FORMAT_WAVE16, &bytes), 0);
    EXPECT_GT(bytes, 44);
    EXPECT_LT(bytes, 2000000);
    EXPECT_TRUE(workers().empty());
}

// Writes that fail part way (a file size limit, as a full file system does) fail the file with
// the writer's status, keep the old file and end the workers.
TEST_F(EngineParallelTest, AFailedWriteKeepsTheOldFileAndEndsTheWorkers) {
    const std::string path = file("full.wav").string();
    std::ofstream(path) << "the user's file";
    ASSERT_EQ(SaymgrSetJobs(host.instance(), 2), 0);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limited{64 * 1024, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
    int32_t bytes = 0;
    const int32_t status = generate(longText(60000), path, SAYMGR_FORMAT_WAVE16, &bytes);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(status, SAYMGR_EFILE_WRITE);
    EXPECT_EQ(readFile(path), "the user's file");
    EXPECT_TRUE(workers().empty());
}

// A reader that opens the pipe and never reads: the engine waits with the workers running
// ahead, and a stop still ends the generation and the workers.
TEST_F(EngineParallelTest, StopEndsAGenerationIntoAStalledPipe) {
    const std::string pipe = file("stalled").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int readEnd = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(readEnd, 0);
    std::atomic<bool> returned{false};
    std::atomic<bool> drained{false};
    // Should the stop not end it, the pipe is drained after a while so that the test fails
    // instead of hanging.
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
    ASSERT_EQ(SaymgrSetJobs(host.instance(), 2), 0);
    int32_t bytes = -1;
    EXPECT_EQ(generate(longText(60000), pipe, SAYMGR_FORMAT_LINEAR16, &bytes), 0);
    returned = true;
    guard.join();
    ::close(readEnd);
    EXPECT_FALSE(drained) << "the generation ended only when the pipe was read";
    EXPECT_TRUE(workers().empty());
}

}  // namespace
}  // namespace saymgrtest
