#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

namespace context {

// Watches the program's speak and generate requests from the side: told when one begins
// (the text as handed to the engine, its text form and when the command came), of each
// notification while it runs (from inside the engine's callback, so the engine can still be
// asked about the notification) and when it ends. At most one observer is set at a time.
class SpeechObserver {
  public:
    using Clock = std::chrono::steady_clock;

    virtual ~SpeechObserver() = default;
    virtual void requestBegins(std::string_view text, int32_t textForm,
                               Clock::time_point commandTime) = 0;
    virtual void notified(int32_t code, int32_t value1, int32_t value2,
                          Clock::time_point arrival) = 0;
    virtual void requestEnds(int32_t status) = 0;
};

}  // namespace context
