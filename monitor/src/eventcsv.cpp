#include "monitor/eventcsv.h"

#include "decimal.h"

namespace monitor {
namespace {

std::string csvLine(const SpeechLog& log, const LoggedEvent& event) {
    std::string line =
        decimal(event.ms) + ',' + std::to_string(event.code) + ',' + eventName(event.code) + ',';
    if (event.start >= 0) {
        line += std::to_string(event.start) + ',' + std::to_string(event.length) + ',' +
                csvField(log.textOf(event));
    } else {
        line += ",,";
    }
    line += ',';
    if (event.sample >= 0 && event.sampleRate > 0) {
        line += std::to_string(event.sample) + ',' + decimal(*log.audioMs(event));
    } else {
        line += ',';
    }
    return line + "\r\n";
}

}  // namespace

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

std::string eventCsv(const SpeechLog& log) {
    std::string file = "ms,code,name,start,length,text,sample,audioMs\r\n";
    for (const LoggedEvent& event : log.events()) {
        file += csvLine(log, event);
    }
    return file;
}

}  // namespace monitor
