// The deadline by which the PortAudio sink decides that its device has gone.
#include "audio/progresswatch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using saymgr::audio::ProgressWatch;
using namespace std::chrono_literals;

struct Turn {
    int milliseconds;
    uint64_t position;
    bool paused;
};

std::vector<bool> answers(const std::vector<Turn>& turns) {
    ProgressWatch watch(2s);
    const auto start = ProgressWatch::Clock::now();
    std::vector<bool> stalled;
    for (const Turn& turn : turns) {
        stalled.push_back(watch.stalled(turn.position, turn.paused,
                                        start + std::chrono::milliseconds(turn.milliseconds)));
    }
    return stalled;
}

TEST(ProgressWatch, AStreamThatTakesNothingForTwoSecondsHasStalled) {
    EXPECT_EQ(answers({{0, 0, false}, {1999, 0, false}, {2000, 0, false}}),
              (std::vector<bool>{false, false, true}));
}

TEST(ProgressWatch, ProgressStartsTheDeadlineAgain) {
    EXPECT_EQ(answers({{0, 0, false}, {1500, 10, false}, {3000, 10, false}, {3500, 10, false}}),
              (std::vector<bool>{false, false, false, true}));
}

TEST(ProgressWatch, TimeSpentPausedDoesNotCount) {
    EXPECT_EQ(answers({{0, 5, false},
                       {1000, 5, true},
                       {60000, 5, true},
                       {60001, 5, false},
                       {62000, 5, false},
                       {62001, 5, false}}),
              (std::vector<bool>{false, false, false, false, false, true}));
}

}  // namespace
