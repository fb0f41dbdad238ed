#include "binding/hostthread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A host without Qt (a command-line caller) waits in dispatch until woken, and runs the work
// other threads post to it on its own thread.
TEST(HostThread, AWakeOrAPostedTaskFromAnotherThreadEndsTheWait) {
    binding::HostThread host;
    SaymgrHostThread* handle = host.handle();
    std::thread waker([&] {
        std::this_thread::sleep_for(50ms);
        handle->wake(handle->context);
    });
    const auto start = std::chrono::steady_clock::now();
    handle->dispatch(handle->context, 60000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
    waker.join();

    std::thread::id ranOn;
    std::thread poster([&] { host.post([&] { ranOn = std::this_thread::get_id(); }); });
    poster.join();
    handle->dispatch(handle->context, 60000);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

}  // namespace
