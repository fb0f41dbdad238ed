#include "monitor/timingfigures.h"

#include <saymgr.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace monitor {
namespace {

std::optional<LagFigures> markLag(const SpeechLog& log) {
    const LoggedEvent* start = log.first(SAYMGR_NOTIFY_START);
    if (start == nullptr) {
        return std::nullopt;
    }
    std::vector<double> lags;
    for (const LoggedEvent& event : log.events()) {
        if (event.code == SAYMGR_NOTIFY_MARK1 && event.sample >= 0) {
            lags.push_back(event.ms - (start->ms + *log.audioMs(event)));
        }
    }
    if (lags.empty()) {
        return std::nullopt;
    }
    std::ranges::sort(lags);
    const std::size_t middle = lags.size() / 2;
    const double median =
        lags.size() % 2 == 1 ? lags[middle] : (lags[middle - 1] + lags[middle]) / 2;
    return LagFigures{lags.front(), median, lags.back(), lags.size()};
}

std::string number(const std::optional<double>& value, const char* format) {
    if (!value) {
        return "n/a";
    }
    char text[64];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

}  // namespace

TimingFigures measureTiming(const SpeechLog& log) {
    TimingFigures figures;
    if (const LoggedEvent* start = log.first(SAYMGR_NOTIFY_START); start != nullptr) {
        figures.firstAudioMs = start->ms;
    }
    const LoggedEvent* end = log.first(SAYMGR_NOTIFY_END);
    if (const auto audioMs = end != nullptr ? log.audioMs(*end) : std::nullopt;
        audioMs && *audioMs > 0) {
        figures.audioSeconds = *audioMs / 1000.0;
        figures.realTimeFactor = end->ms / *audioMs;
        const auto words =
            std::ranges::count(log.events(), SAYMGR_NOTIFY_MARK1, &LoggedEvent::code);
        figures.wordsPerMinute = static_cast<double>(words) * 60000.0 / *audioMs;
    }
    figures.markLag = markLag(log);
    return figures;
}

std::vector<TimingRow> timingRows(const TimingFigures& figures) {
    std::string lag = "n/a";
    if (const auto& spread = figures.markLag) {
        lag = "min " + number(spread->minMs, "%.1f") + " ms, median " +
              number(spread->medianMs, "%.1f") + " ms, max " + number(spread->maxMs, "%.1f") +
              " ms (" + std::to_string(spread->count) + " words)";
    }
    return {{"first audio", number(figures.firstAudioMs, "%.1f ms")},
            {"audio length", number(figures.audioSeconds, "%.3f s")},
            {"real-time factor", number(figures.realTimeFactor, "%.3f")},
            {"words per minute", number(figures.wordsPerMinute, "%.1f")},
            {"mark lag", lag}};
}

std::string formatTiming(const TimingFigures& figures) {
    std::string text;
    for (const TimingRow& row : timingRows(figures)) {
        text += row.name + ": " + row.value + "\n";
    }
    return text;
}

}  // namespace monitor
