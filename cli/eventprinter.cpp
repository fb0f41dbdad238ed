#include "eventprinter.h"

#include <algorithm>

#include "common/codepage.h"
#include "monitor/speechlog.h"

namespace cli {
namespace {

// Quotes 8-bit text for one output line: backslash escapes for quotes, backslashes and
// control characters.
std::string escaped(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

EventPrinter::EventPrinter(std::FILE* out, std::chrono::steady_clock::time_point start)
    : m_out(out), m_start(start) {}

void EventPrinter::setText(const std::string& text, bool dos) {
    m_text = text;
    m_dos = dos;
    m_pieceStart = 0;
}

std::string EventPrinter::quoted(int32_t start, int32_t length) const {
    const auto size = static_cast<int64_t>(m_text.size());
    const int64_t first = std::clamp<int64_t>(start, 0, size);
    const int64_t last = std::clamp<int64_t>(int64_t{start} + length, first, size);
    const std::string_view covered = std::string_view(m_text).substr(
        static_cast<std::size_t>(first), static_cast<std::size_t>(last - first));
    return '"' +
           common::toUtf8(escaped(covered),
                          m_dos ? common::CodePage::Dos437 : common::CodePage::Ansi1252) +
           '"';
}

void EventPrinter::print(int32_t code, int32_t value1, int32_t value2) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - m_start)
                             .count();
    std::string detail;
    switch (code) {
        case SAYMGR_NOTIFY_START:
            m_pieceStart = 0;
            break;
        case SAYMGR_NOTIFY_CHUNK:
            detail = ' ' + std::to_string(m_pieceStart) + ' ' + std::to_string(value1) + ' ' +
                     quoted(m_pieceStart, value1);
            m_pieceStart += std::max(value1, 0);
            break;
        case SAYMGR_NOTIFY_MARK1:
        case SAYMGR_NOTIFY_MARK2:
            detail = ' ' + std::to_string(value2) + ' ' + std::to_string(value1) + ' ' +
                     quoted(value2, value1);
            break;
        case SAYMGR_NOTIFY_END:
            break;
        default:
            detail = ' ' + std::to_string(value1) + ' ' + std::to_string(value2);
            break;
    }
    std::fprintf(m_out, "%lld %d %s%s\n", static_cast<long long>(elapsed), code,
                 monitor::eventName(code), detail.c_str());
    std::fflush(m_out);
}

}  // namespace cli
