#include "monitor/speechlog.h"

#include <saymgr.h>

#include <algorithm>

namespace monitor {

const char* eventName(int32_t code) {
    switch (code) {
        case SAYMGR_NOTIFY_START:
            return "start";
        case SAYMGR_NOTIFY_END:
            return "end";
        case SAYMGR_NOTIFY_CHUNK:
            return "piece";
        case SAYMGR_NOTIFY_MARK1:
            return "word";
        case SAYMGR_NOTIFY_MARK2:
            return "mark";
        default:
            return "unknown";
    }
}

SpeechLog::SpeechLog(std::string text, common::CodePage codePage)
    : m_text(std::move(text)), m_codePage(codePage) {}

void SpeechLog::add(LoggedEvent event) {
    switch (event.code) {
        case SAYMGR_NOTIFY_CHUNK:
            event.start = m_nextPiece;
            event.length = event.value1;
            m_nextPiece += std::max(event.value1, 0);
            break;
        case SAYMGR_NOTIFY_MARK1:
        case SAYMGR_NOTIFY_MARK2:
            event.start = event.value2;
            event.length = event.value1;
            break;
        default:
            event.start = -1;
            event.length = 0;
            break;
    }
    m_events.push_back(event);
}

void SpeechLog::addAudio(std::size_t count) {
    m_tappedSamples += static_cast<int64_t>(count);
}

std::string_view SpeechLog::bytes(int32_t start, int32_t length) const {
    const auto size = static_cast<int64_t>(m_text.size());
    const int64_t first = std::clamp<int64_t>(start, 0, size);
    const int64_t last = std::clamp<int64_t>(int64_t{start} + length, first, size);
    return std::string_view(m_text).substr(static_cast<std::size_t>(first),
                                           static_cast<std::size_t>(last - first));
}

std::string SpeechLog::textOf(const LoggedEvent& event) const {
    if (event.start < 0) {
        return {};
    }
    return common::toUtf8(bytes(event.start, event.length), m_codePage);
}

std::optional<double> SpeechLog::audioMs(const LoggedEvent& event) const {
    if (event.sample >= 0 && event.sampleRate > 0) {
        return static_cast<double>(event.sample) * 1000.0 / event.sampleRate;
    }
    if (const LoggedEvent* start = first(SAYMGR_NOTIFY_START); start != nullptr) {
        return std::max(0.0, event.ms - start->ms);
    }
    return std::nullopt;
}

const LoggedEvent* SpeechLog::first(int32_t code) const {
    const auto found = std::ranges::find(m_events, code, &LoggedEvent::code);
    return found == m_events.end() ? nullptr : &*found;
}

}  // namespace monitor
