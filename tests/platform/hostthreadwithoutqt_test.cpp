#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/hostthread.h"

namespace {

using namespace std::chrono_literals;

// A host without a Qt application (a command-line caller) still waits and can be woken.
TEST(HostThreadWithoutQt, AWakeFromAnotherThreadEndsTheWait) {
    platform::HostThread host;
    SaymgrHostThread* handle = host.handle();
    std::thread waker([&] {
        std::this_thread::sleep_for(50ms);
        handle->wake(handle->context);
    });
    const auto start = std::chrono::steady_clock::now();
    handle->dispatch(handle->context, 60000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
    waker.join();
    handle->dispatch(handle->context, 10);
}

}  // namespace
