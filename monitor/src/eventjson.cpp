#include "monitor/eventjson.h"

#include <cstdio>

#include "decimal.h"

namespace monitor {

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string eventJson(const SpeechLog& log, const LoggedEvent& event) {
    std::string line = "{\"ms\":" + decimal(event.ms) + ",\"code\":" + std::to_string(event.code) +
                       ",\"name\":\"" + eventName(event.code) + "\"";
    if (event.start >= 0) {
        line += ",\"start\":" + std::to_string(event.start) +
                ",\"length\":" + std::to_string(event.length) +
                ",\"text\":" + jsonString(log.textOf(event));
    }
    const bool positioned = event.sample >= 0 && event.sampleRate > 0;
    line += ",\"sample\":" + (positioned ? std::to_string(event.sample) : "null");
    line += ",\"audioMs\":" + (positioned ? decimal(*log.audioMs(event)) : "null");
    return line + "}";
}

}  // namespace monitor
