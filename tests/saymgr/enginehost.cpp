#include "enginehost.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace saymgrtest {

namespace {

EngineHost* g_current = nullptr;

}  // namespace

EngineHost::EngineHost() {
    m_thread.context = this;
    m_thread.dispatch = &EngineHost::dispatch;
    m_thread.wake = &EngineHost::wake;
    g_current = this;
}

EngineHost::~EngineHost() {
    if (m_instance != 0) {
        EngineClose(m_instance);
    }
    g_current = nullptr;
}

int32_t EngineHost::open(LanguageList* languages) {
    const int32_t status = EngineOpen(&m_instance, &m_thread, languages);
    if (status == 0) {
        EngineSetCallback(m_instance, 1, &EngineHost::notify);
    }
    return status;
}

std::vector<Notice> EngineHost::withCode(int32_t code) const {
    std::vector<Notice> found;
    for (const Notice& notice : notices) {
        if (notice.code == code) {
            found.push_back(notice);
        }
    }
    return found;
}

void EngineHost::dispatch(void* context, int32_t waitMs) {
    auto& host = *static_cast<EngineHost*>(context);
    ++host.dispatchCount;
    if (host.onDispatch) {
        host.onDispatch();
    }
    std::unique_lock lock(host.m_mutex);
    host.m_woken.wait_for(lock, std::chrono::milliseconds(host.waitInDispatch ? waitMs : 0),
                          [&host] { return host.m_wakePending; });
    host.m_wakePending = false;
}

void EngineHost::wake(void* context) {
    auto& host = *static_cast<EngineHost*>(context);
    {
        std::lock_guard lock(host.m_mutex);
        host.m_wakePending = true;
        ++host.wakeCount;
    }
    host.m_woken.notify_one();
}

int32_t EngineHost::notify(int32_t, int32_t code, int32_t value1, int32_t value2) {
    if (g_current != nullptr) {
        g_current->notices.push_back({code, value1, value2});
        if (g_current->onNotice) {
            g_current->onNotice(g_current->notices.back());
        }
    }
    return 0;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void EngineFixture::SetUp() {
    setenv("SAYMGR_SINK", "null", 1);
    setenv("SAYMGR_PACE", m_pace, 1);
    ASSERT_EQ(host.open(&languages), 0);
}

int32_t EngineFixture::speak(const std::string& text, int32_t form) {
    return EngineSpeak(host.instance(), 1, text.data(), static_cast<int32_t>(text.size()), form,
                       nullptr);
}

int32_t EngineFixture::generate(const std::string& text, const std::string& path, int32_t format,
                                int32_t* bytes) {
    return EngineSpeakToFile(host.instance(), text.data(), static_cast<int32_t>(text.size()),
                             path.c_str(), format, SAYMGR_TEXT_ANSI, 0, bytes);
}

}  // namespace saymgrtest
