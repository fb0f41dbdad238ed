#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "saymgr.h"

namespace saymgrtest {

struct Notice {
    int32_t code;
    int32_t value1;
    int32_t value2;
};

// A host thread for the engine's blocking operations, as a test drives it: every dispatch
// runs the test's `onDispatch` hook and records the notifications the engine sends.
class EngineHost {
  public:
    EngineHost();
    ~EngineHost();

    SaymgrHostThread* thread() { return &m_thread; }

    // Opens the engine with this host and registers the notification recorder.
    int32_t open(LanguageList* languages = nullptr);
    int32_t instance() const { return m_instance; }

    std::vector<Notice> notices;
    std::function<void()> onDispatch;
    std::function<void(const Notice&)> onNotice;
    int dispatchCount = 0;
    bool waitInDispatch = true;  // false: dispatch returns at once
    int wakeCount = 0;

    std::vector<Notice> withCode(int32_t code) const;

  private:
    static void dispatch(void* context, int32_t waitMs);
    static void wake(void* context);
    static int32_t notify(int32_t reserved, int32_t code, int32_t value1, int32_t value2);

    SaymgrHostThread m_thread{};
    int32_t m_instance = 0;
    std::mutex m_mutex;
    std::condition_variable m_woken;
    bool m_wakePending = false;
};

// A test with the engine open on the null sink, paced at `pace` (SAYMGR_PACE; "0" as fast as
// synthesis goes), with the speak and generate calls the tests make.
class EngineFixture : public ::testing::Test {
  protected:
    explicit EngineFixture(const char* pace = "0") : m_pace(pace) {}
    void SetUp() override;

    int32_t speak(const std::string& text, int32_t form = SAYMGR_TEXT_ANSI);
    int32_t generate(const std::string& text, const std::string& path, int32_t format,
                     int32_t* bytes);

    EngineHost host;
    LanguageList languages{};

  private:
    const char* m_pace;
};

// The text of `path` (empty when unreadable).
std::string readFile(const std::string& path);

}  // namespace saymgrtest
