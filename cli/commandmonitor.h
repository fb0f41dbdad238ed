#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "binding/engineextensions.h"
#include "binding/notifyforwarder.h"
#include "eventprinter.h"
#include "monitor/speechlog.h"

namespace cli {

// Watches one speak or generate command: logs its notifications with their times and audio
// positions for the report and the subtitles, and prints them as they come (--events as
// text, --events-json as JSON lines). The latest monitor is the one the engine's callback
// reaches.
class CommandMonitor {
  public:
    struct Printing {
        bool text = false;  // --events
        bool json = false;  // --events-json
        std::chrono::steady_clock::time_point programStart;
    };

    CommandMonitor(const binding::EngineExtensions& extensions, int32_t instance,
                   const std::string& text, bool dos, const Printing& printing);
    CommandMonitor(const CommandMonitor&) = delete;
    CommandMonitor& operator=(const CommandMonitor&) = delete;

    static EngineNotifyProc callback() { return binding::NotifyForwarder::callback(); }

    const monitor::SpeechLog& log() const { return m_log; }

  private:
    void record(int32_t code, int32_t value1, int32_t value2);

    const binding::EngineExtensions& m_extensions;
    int32_t m_instance;
    bool m_json;
    std::chrono::steady_clock::time_point m_commandStart = std::chrono::steady_clock::now();
    monitor::SpeechLog m_log;
    std::optional<EventPrinter> m_printer;
    binding::NotifyForwarder m_forwarder;
};

}  // namespace cli
