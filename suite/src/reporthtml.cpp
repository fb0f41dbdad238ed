#include <algorithm>
#include <sstream>

#include "reporttext.h"
#include "suite/report.h"

namespace suite {
namespace {

constexpr double kWidth = 1000;
constexpr double kWaveHeight = 90;
constexpr double kLabelHeight = 18;

constexpr const char* kStyle = R"(
body { font: 15px/1.4 system-ui, sans-serif; margin: 2em auto; max-width: 1100px; color: #222; }
h1 { font-size: 1.5em; } h2 { font-size: 1.15em; margin-top: 2em; }
table { border-collapse: collapse; margin: 0.5em 0; }
th, td { border: 1px solid #ccc; padding: 0.25em 0.6em; text-align: left; vertical-align: top; }
.changed { color: #9a5b00; } .failed { color: #b00020; } .pass { color: #1b7a1b; }
.text { font-style: italic; }
figure { margin: 0.5em 0; } figcaption { font-size: 0.85em; color: #555; }
svg { width: 100%; height: auto; background: #fafafa; border: 1px solid #ddd; }
.wave { fill: #3a6ea5; } .mark { stroke: #888; stroke-width: 1; }
.changedword { fill: #ffd27a; opacity: 0.55; } .label { font-size: 11px; fill: #333; }
.ipa { font-family: "DejaVu Sans", sans-serif; }
)";

// Places samples on the page: the same milliseconds land at the same x in both drawings.
struct TimeScale {
    double totalMs;
    double x(int64_t sample, int32_t rate) const {
        return rate > 0 && totalMs > 0
                   ? static_cast<double>(sample) * 1000.0 / rate / totalMs * kWidth
                   : 0;
    }
};

void drawEnvelope(std::ostream& out, const Envelope& envelope, const TimeScale& scale) {
    const std::size_t columns = envelope.low.size();
    if (columns == 0) {
        return;
    }
    const double middle = kLabelHeight + kWaveHeight / 2;
    const auto y = [middle](int16_t sample) { return middle - sample / 32768.0 * kWaveHeight / 2; };
    const auto columnX = [&](std::size_t column) {
        return scale.x(
            static_cast<int64_t>(column) * envelope.samples / static_cast<int64_t>(columns),
            envelope.sampleRate);
    };
    out << "<path class=\"wave\" d=\"M";
    for (std::size_t i = 0; i < columns; ++i) {
        out << ' ' << fixed(columnX(i), 1) << ',' << fixed(y(envelope.high[i]) - 0.5, 1);
    }
    for (std::size_t i = columns; i-- > 0;) {
        out << ' ' << fixed(columnX(i), 1) << ',' << fixed(y(envelope.low[i]) + 0.5, 1);
    }
    out << " Z\"/>";
}

void drawRendering(std::ostream& out, const char* caption, const ShownRendering& shown,
                   const TimeScale& scale) {
    const double height = kLabelHeight + kWaveHeight;
    out << "<figure><figcaption>" << caption
        << "</figcaption><svg xmlns=\"http://www.w3.org/2000/svg\" "
        << "viewBox=\"0 0 " << kWidth << ' ' << height << "\" role=\"img\" aria-label=\"" << caption
        << " waveform\">";
    const int32_t rate = shown.envelope.sampleRate;
    for (const PlacedWord& word : shown.words) {
        if (word.changed) {
            const double left = scale.x(word.begin, rate);
            out << "<rect class=\"changedword\" x=\"" << fixed(left, 1) << "\" y=\"0\" width=\""
                << fixed(std::max(scale.x(word.end, rate) - left, 1.0), 1) << "\" height=\""
                << height << "\"/>";
        }
    }
    drawEnvelope(out, shown.envelope, scale);
    for (const PlacedWord& word : shown.words) {
        const std::string x = fixed(scale.x(word.begin, rate), 1);
        out << "<line class=\"mark\" x1=\"" << x << "\" y1=\"" << kLabelHeight - 4 << "\" x2=\""
            << x << "\" y2=\"" << height << "\"/><text class=\"label\" x=\"" << x << "\" y=\"12\">"
            << xmlEscaped(word.text) << "</text>";
    }
    out << "</svg></figure>\n";
}

void writeWordTable(std::ostream& out, const CaseResult& result) {
    if (result.words.empty()) {
        return;
    }
    out << "<table class=\"words\"><tr><th>Word</th><th>IPA before</th><th>IPA after</th>"
        << "<th>Onset before</th><th>Onset after</th><th>Spectral distance</th></tr>\n";
    const auto ms = [](const std::optional<double>& value) {
        return value ? fixed(*value, 0) + " ms" : std::string("—");
    };
    for (const WordChange& word : result.words) {
        out << "<tr><td>" << xmlEscaped(word.text) << "</td><td class=\"ipa\">"
            << xmlEscaped(word.ipaBefore) << "</td><td class=\"ipa\">" << xmlEscaped(word.ipaAfter)
            << "</td><td>" << ms(word.onsetBefore) << "</td><td>" << ms(word.onsetAfter)
            << "</td><td>" << (word.spectralDb ? fixed(*word.spectralDb, 1) + " dB" : "—")
            << "</td></tr>\n";
    }
    out << "</table>\n";
}

void writeCase(std::ostream& out, const CaseResult& result) {
    out << "<section id=\"case-" << xmlEscaped(result.id) << "\"><h2>Case " << xmlEscaped(result.id)
        << " <span class=\"" << statusName(result.status) << "\">" << statusName(result.status)
        << "</span></h2>\n<p class=\"text\">" << xmlEscaped(result.text) << "</p>\n<ul>";
    for (const std::string& line : changeLines(result)) {
        out << "<li>" << xmlEscaped(line) << "</li>";
    }
    out << "</ul>\n";
    if (result.before && result.after) {
        const TimeScale scale{std::max(result.durationBefore, result.durationAfter)};
        drawRendering(out, "Reference", *result.before, scale);
        drawRendering(out, "This build", *result.after, scale);
    }
    writeWordTable(out, result);
    out << "</section>\n";
}

}  // namespace

std::string reportHtml(const SuiteReport& report) {
    std::ostringstream out;
    const std::string name = xmlEscaped(report.suiteName);
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
        << "<meta name=\"viewport\" content=\"width=device-width\"><title>Suite " << name
        << "</title><style>" << kStyle << "</style></head><body>\n<h1>Suite " << name
        << "</h1>\n<p>" << report.cases.size() << " cases: <span class=\"pass\">"
        << report.count(CaseStatus::Pass) << " pass</span>, <span class=\"changed\">"
        << report.count(CaseStatus::Changed) << " changed</span>, <span class=\"failed\">"
        << report.count(CaseStatus::Failed)
        << " failed</span>. Reference: " << xmlEscaped(report.referenceEngine.manufacturer) << ' '
        << xmlEscaped(report.referenceEngine.version)
        << "; checked: " << xmlEscaped(report.checkedEngine.manufacturer) << ' '
        << xmlEscaped(report.checkedEngine.version) << ".</p>\n";
    const std::vector<const CaseResult*> shown = casesWorstFirst(report);
    for (const CaseResult* result : shown) {
        writeCase(out, *result);
    }
    out << "</body></html>\n";
    return out.str();
}

}  // namespace suite
