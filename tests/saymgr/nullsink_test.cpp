// The device-less sink wakes whoever waits for its position while a paced write still holds
// the writing thread, so notifications are not held back until the write returns.
#include "audio/nullsink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace {

TEST(NullSink, ReportsEachSliceAsItBeginsToBeHeard) {
    constexpr int kRate = 11025;
    saymgr::audio::NullSink sink(1.0);
    ASSERT_EQ(sink.open(kRate), 0);
    std::promise<int64_t> firstPosition;
    bool reported = false;
    sink.setProgressListener([&] {
        if (!reported) {
            reported = true;
            firstPosition.set_value(sink.heard());
        }
    });
    std::atomic<bool> returned{false};
    std::thread writer([&] {
        const std::vector<int16_t> halfSecond(kRate / 2);
        sink.write(halfSecond.data(), halfSecond.size());
        returned = true;
    });
    std::future<int64_t> position = firstPosition.get_future();
    const bool reportedDuringTheWrite =
        position.wait_for(std::chrono::seconds(5)) == std::future_status::ready && !returned;
    sink.interrupt();
    writer.join();
    ASSERT_TRUE(reportedDuringTheWrite);
    EXPECT_EQ(position.get(), kRate / 50) << "one slice of 20 ms";
}

}  // namespace
