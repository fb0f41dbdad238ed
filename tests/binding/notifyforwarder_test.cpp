#include "binding/notifyforwarder.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

using binding::NotifyForwarder;
using Notification = std::array<int32_t, 3>;

// The callback reaches the latest forwarder only, and nothing once that one is gone (an older
// one is not brought back): a notification after its receiver ended is dropped, not sent to a
// handler whose owner may be gone too.
TEST(NotifyForwarder, TheLatestForwarderReceivesAndNoneAfterItEnds) {
    std::vector<Notification> first;
    std::vector<Notification> second;
    const EngineNotifyProc callback = NotifyForwarder::callback();
    const NotifyForwarder older([&](int32_t code, int32_t value1, int32_t value2) {
        first.push_back({code, value1, value2});
    });
    EXPECT_EQ(callback(0, SAYMGR_NOTIFY_START, 0, 0), 0);
    {
        const NotifyForwarder newer([&](int32_t code, int32_t value1, int32_t value2) {
            second.push_back({code, value1, value2});
        });
        EXPECT_EQ(callback(0, SAYMGR_NOTIFY_MARK1, 5, 7), 0);
    }
    EXPECT_EQ(callback(0, SAYMGR_NOTIFY_END, 0, 0), 0);
    EXPECT_EQ(first, (std::vector<Notification>{{SAYMGR_NOTIFY_START, 0, 0}}));
    EXPECT_EQ(second, (std::vector<Notification>{{SAYMGR_NOTIFY_MARK1, 5, 7}}));
}

}  // namespace
