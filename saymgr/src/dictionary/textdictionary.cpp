#include "dictionary/textdictionary.h"

#include <string>

#include <saymgr.h>

#include "common/codepage.h"
#include "dictionary/wordtext.h"

namespace saymgr::dictionary {
namespace {

constexpr char kDosEndOfFile = 0x1A;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// DOS editors end a file with Ctrl+Z; it is not part of the text.
std::string_view withoutDosEndOfFile(std::string_view source) {
    while (!source.empty() && source.back() == kDosEndOfFile) {
        source.remove_suffix(1);
    }
    return source;
}

bool parseLine(std::string_view line, common::CodePage codePage, WordTable& table) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (line.size() > TextDictionary::kMaxLineBytes) {
        return false;
    }
    for (const char c : line) {
        if (isControlByte(c)) {
            return false;
        }
    }
    line = trim(line);
    if (line.empty() || line.front() == ';' || line.front() == '#') {
        return true;
    }
    std::size_t wordLength = 0;
    while (wordLength < line.size() && !isBlank(line[wordLength])) {
        ++wordLength;
    }
    const std::string_view replacement = trim(line.substr(wordLength));
    if (wordLength > TextDictionary::kMaxWordBytes || replacement.empty()) {
        return false;
    }
    const std::optional<std::string> word =
        common::toUtf8Exact(line.substr(0, wordLength), codePage);
    std::optional<std::string> replacementUtf8 = common::toUtf8Exact(replacement, codePage);
    if (!word || !replacementUtf8 || !isSingleWord(*word) ||
        !isValidReplacement(*replacementUtf8)) {
        return false;
    }
    table.insert(foldWord(*word), std::move(*replacementUtf8));
    return true;
}

}  // namespace

int32_t TextDictionary::parse(std::string_view source, bool ansi, WordTable& table) {
    if (source.size() > kMaxFileBytes) {
        return SAYMGR_EDICT_FORMAT;
    }
    const common::CodePage codePage = ansi ? common::CodePage::Ansi1252 : common::CodePage::Dos437;
    source = withoutDosEndOfFile(source);
    while (!source.empty()) {
        const std::size_t newline = source.find('\n');
        const std::string_view line = source.substr(0, newline);
        if (!parseLine(line, codePage, table)) {
            return SAYMGR_EDICT_FORMAT;
        }
        source.remove_prefix(newline == std::string_view::npos ? source.size() : newline + 1);
    }
    return table.empty() ? SAYMGR_EDICT_FORMAT : SAYMGR_OK;
}

}  // namespace saymgr::dictionary
