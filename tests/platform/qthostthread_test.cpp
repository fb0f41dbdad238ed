#include "platform/qthostthread.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "eventrecorder.h"
#include "platform/postedmessage.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Far longer than any of these tests may take: a dispatch that waits this long has missed its
// wake-up.
constexpr int32_t kLongWaitMs = 60000;
constexpr auto kPromptly = 20s;

void dispatch(platform::QtHostThread& host, int32_t waitMs) {
    SaymgrHostThread* handle = host.handle();
    handle->dispatch(handle->context, waitMs);
}

TEST(QtHostThread, AWakeFromAnotherThreadEndsALongWait) {
    platform::QtHostThread host;
    std::thread waker([&] {
        std::this_thread::sleep_for(50ms);
        host.handle()->wake(host.handle()->context);
    });
    const auto start = Clock::now();
    dispatch(host, kLongWaitMs);
    EXPECT_LT(Clock::now() - start, kPromptly);
    waker.join();
}

TEST(QtHostThread, AWakeBeforeTheWaitIsNotLost) {
    platform::QtHostThread host;
    std::thread([&] { host.handle()->wake(host.handle()->context); }).join();
    const auto start = Clock::now();
    dispatch(host, kLongWaitMs);
    EXPECT_LT(Clock::now() - start, kPromptly);
}

TEST(QtHostThread, PostedMessagesAreHandledInsideDispatch) {
    platform::QtHostThread host;
    testsupport::EventRecorder window;
    platform::postMessage(&window, 0x2000, 1, 2);
    dispatch(host, 0);
    ASSERT_EQ(window.received().size(), 1u);
    EXPECT_EQ(window.received()[0].number, 0x2000);
}

TEST(QtHostThread, AMessagePostedFromAnotherThreadEndsTheWaitAndIsHandled) {
    platform::QtHostThread host;
    testsupport::EventRecorder window;
    std::thread poster([&] {
        std::this_thread::sleep_for(50ms);
        platform::postMessage(&window, 7001);
    });
    const auto start = Clock::now();
    while (window.received().empty() && Clock::now() - start < kPromptly) {
        dispatch(host, kLongWaitMs);
    }
    EXPECT_LT(Clock::now() - start, kPromptly);
    ASSERT_EQ(window.received().size(), 1u);
    EXPECT_EQ(window.received()[0].number, 7001);
    poster.join();
}

TEST(QtHostThread, AHandlerMayDispatchAgainWhileAnOuterDispatchRuns) {
    platform::QtHostThread host;
    testsupport::EventRecorder window;
    window.onMessage = [&](const platform::PostedMessage& message) {
        if (message.number() == 0x2001) {
            platform::postMessage(&window, 0x2002);
            std::thread waker([&] { host.handle()->wake(host.handle()->context); });
            dispatch(host, kLongWaitMs);  // the nested blocking call's loop
            waker.join();
        }
    };
    platform::postMessage(&window, 0x2001);
    const auto start = Clock::now();
    dispatch(host, 0);
    EXPECT_LT(Clock::now() - start, kPromptly);
    ASSERT_EQ(window.received().size(), 2u);
    EXPECT_EQ(window.received()[1].number, 0x2002);
}

TEST(QtHostThread, AnUneventfulWaitEndsAfterItsTime) {
    platform::QtHostThread host;
    const auto start = Clock::now();
    dispatch(host, 30);
    EXPECT_LT(Clock::now() - start, kPromptly);
}

}  // namespace
