#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "reporttext.h"
#include "suite/report.h"

namespace suite {
namespace {

constexpr std::size_t kShownTextBytes = 60;

std::string shortened(const std::string& text) {
    if (text.size() <= kShownTextBytes) {
        return text;
    }
    std::size_t cut = kShownTextBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;  // not inside a UTF-8 character
    }
    return text.substr(0, cut) + "…";
}

}  // namespace

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string xmlEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                // Control characters (an engine command's escape) are not allowed in XML 1.0.
                escaped += static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t' ? '?' : c;
        }
    }
    return escaped;
}

// One line per change of a case, for the summary and the JUnit failure text.
std::vector<std::string> changeLines(const CaseResult& result) {
    std::vector<std::string> lines;
    if (result.status == CaseStatus::Failed) {
        lines.push_back(result.error);
        return lines;
    }
    if (result.durationChanged) {
        const double percent = (result.durationAfter - result.durationBefore) * 100 /
                               std::max(result.durationBefore, 1.0);
        lines.push_back("duration " + fixed(result.durationBefore, 0) + " ms -> " +
                        fixed(result.durationAfter, 0) + " ms (" + (percent >= 0 ? "+" : "") +
                        fixed(percent, 1) + " %)");
    }
    for (const WordChange& word : result.words) {
        std::string line = "\"" + word.text + "\"";
        if (word.markChanged) {
            line += word.onsetBefore ? " lost its mark" : " has a new mark";
        }
        if (word.phonemesChanged) {
            line += " /" + word.ipaBefore + "/ -> /" + word.ipaAfter + "/";
        }
        if (word.onsetChanged) {
            line += " onset " + fixed(*word.onsetBefore, 0) + " -> " + fixed(*word.onsetAfter, 0) +
                    " ms";
        }
        if (word.soundChanged) {
            line += " sounds different (" + fixed(*word.spectralDb, 1) + " dB)";
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<const CaseResult*> casesWorstFirst(const SuiteReport& report) {
    std::vector<const CaseResult*> shown;
    for (const CaseResult& result : report.cases) {
        if (result.status != CaseStatus::Pass) {
            shown.push_back(&result);
        }
    }
    std::stable_sort(shown.begin(), shown.end(), [](const CaseResult* a, const CaseResult* b) {
        return a->severity() > b->severity();
    });
    return shown;
}

std::string reportSummary(const SuiteReport& report) {
    const std::vector<const CaseResult*> shown = casesWorstFirst(report);
    std::ostringstream out;
    for (const CaseResult* result : shown) {
        out << statusName(result->status) << "  case " << result->id << "  \""
            << shortened(result->text) << "\"\n";
        for (const std::string& line : changeLines(*result)) {
            out << "    " << line << '\n';
        }
    }
    out << report.cases.size() << " cases: " << report.count(CaseStatus::Pass) << " pass, "
        << report.count(CaseStatus::Changed) << " changed, " << report.count(CaseStatus::Failed)
        << " failed\n";
    return out.str();
}

std::string reportJunit(const SuiteReport& report) {
    std::ostringstream out;
    const std::string name = xmlEscaped(report.suiteName);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n  <testsuite name=\"" << name
        << "\" tests=\"" << report.cases.size() << "\" failures=\""
        << report.count(CaseStatus::Changed) << "\" errors=\"" << report.count(CaseStatus::Failed)
        << "\">\n";
    for (const CaseResult& result : report.cases) {
        out << "    <testcase classname=\"" << name << "\" name=\"" << xmlEscaped(result.id)
            << "\">";
        if (result.status != CaseStatus::Pass) {
            const bool failed = result.status == CaseStatus::Failed;
            std::string details = result.text + '\n';
            for (const std::string& line : changeLines(result)) {
                details += line + '\n';
            }
            out << "\n      <" << (failed ? "error" : "failure") << " message=\""
                << (failed ? "failed" : "changed") << "\">" << xmlEscaped(details) << "</"
                << (failed ? "error" : "failure") << ">\n    ";
        }
        out << "</testcase>\n";
    }
    out << "  </testsuite>\n</testsuites>\n";
    return out.str();
}

}  // namespace suite
