#include "commandmonitor.h"

#include "monitor/eventjson.h"

namespace cli {

CommandMonitor::CommandMonitor(const binding::EngineExtensions& extensions, int32_t instance,
                               const std::string& text, bool dos, const Printing& printing)
    : m_extensions(extensions),
      m_instance(instance),
      m_json(printing.json),
      m_log(text, dos ? common::CodePage::Dos437 : common::CodePage::Ansi1252),
      m_forwarder(
          [this](int32_t code, int32_t value1, int32_t value2) { record(code, value1, value2); }) {
    if (printing.text) {
        m_printer.emplace(stdout, printing.programStart);
        m_printer->setText(text, dos);
    }
}

void CommandMonitor::record(int32_t code, int32_t value1, int32_t value2) {
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - m_commandStart;
    monitor::LoggedEvent event{elapsed.count(), code, value1, value2};
    if (const auto position = binding::notifyPosition(m_extensions, m_instance)) {
        event.sample = position->sample;
        event.sampleRate = position->sampleRate;
    }
    m_log.add(event);
    if (m_printer) {
        m_printer->print(code, value1, value2);
    }
    if (m_json) {
        std::fprintf(stdout, "%s\n", monitor::eventJson(m_log, m_log.events().back()).c_str());
        std::fflush(stdout);
    }
}

}  // namespace cli
