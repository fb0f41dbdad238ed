#include "platform/profilefile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <optional>
#include <system_error>
#include <vector>

#include "common/filedescriptor.h"
#include "common/replacementfile.h"

namespace platform {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

enum class LineKind { Other, Section, Key };

// One line of the file with its place in the text and what it holds. `text` excludes the line
// end; for a key line, `valueBegin` is the offset within `text` where the value starts.
struct Line {
    std::size_t begin = 0;
    std::string_view text;
    std::string_view end;
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
    std::size_t valueBegin = 0;
};

void classify(Line& line, std::string_view text) {
    const std::string_view trimmed = trim(text);
    if (trimmed.empty() || trimmed.front() == ';') {
        return;
    }
    if (trimmed.front() == '[') {
        const std::string_view inner = trimmed.substr(1);
        line.kind = LineKind::Section;
        line.name = trim(inner.substr(0, inner.find(']')));
        return;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    line.name = trim(text.substr(0, equals));
    if (line.name.empty()) {
        return;
    }
    line.kind = LineKind::Key;
    const std::string_view rest = text.substr(equals + 1);
    const std::size_t valueStart = rest.find_first_not_of(kBlanks);
    line.valueBegin = valueStart == std::string_view::npos ? text.size() : equals + 1 + valueStart;
    line.value = trim(rest);
}

std::vector<Line> splitLines(std::string_view content) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < content.size()) {
        const std::size_t newline = content.find('\n', begin);
        const std::size_t stop = newline == std::string_view::npos ? content.size() : newline;
        std::size_t textEnd = stop;
        if (newline != std::string_view::npos && stop > begin && content[stop - 1] == '\r') {
            --textEnd;
        }
        Line line;
        line.begin = begin;
        line.text = content.substr(begin, textEnd - begin);
        line.end =
            content.substr(textEnd, newline == std::string_view::npos ? 0 : stop + 1 - textEnd);
        std::string_view parsed = line.text;
        if (begin == 0 && parsed.starts_with(kByteOrderMark)) {
            parsed.remove_prefix(kByteOrderMark.size());
        }
        classify(line, parsed);
        if (line.kind == LineKind::Key && parsed.size() != line.text.size()) {
            line.valueBegin += kByteOrderMark.size();
        }
        lines.push_back(line);
        begin = stop + (newline == std::string_view::npos ? 0 : 1);
    }
    return lines;
}

// The lines of the first section with that name: [header, end).
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> findSection(const std::vector<Line>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Section || !equalsIgnoreCase(lines[i].name, section)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != LineKind::Section) {
            ++end;
        }
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line>& lines, SectionRange range,
                                   std::string_view key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        if (lines[i].kind == LineKind::Key && equalsIgnoreCase(lines[i].name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

// A settings file is small; anything larger, and anything that is no regular file (a pipe, a
// device, a folder), is never read whole.
constexpr std::size_t kMaxProfileBytes = 16 * 1024 * 1024;

common::ReadStatus readProfile(const std::filesystem::path& path, std::string& content) {
    common::ReadStatus status = common::readRegularFile(path, kMaxProfileBytes, content);
    if (status == common::ReadStatus::Ok && content.size() > kMaxProfileBytes) {
        content.clear();
        status = common::ReadStatus::Unreadable;
    }
    return status;
}

std::optional<std::string> lookupIn(std::string_view content, std::string_view section,
                                    std::string_view key) {
    const std::vector<Line> lines = splitLines(content);
    const std::optional<SectionRange> range = findSection(lines, trim(section));
    if (!range) {
        return std::nullopt;
    }
    const std::optional<std::size_t> index = findKey(lines, *range, trim(key));
    if (!index) {
        return std::nullopt;
    }
    return std::string(lines[*index].value);
}

std::optional<std::string> lookup(const std::filesystem::path& path, std::string_view section,
                                  std::string_view key) {
    std::string content;
    if (readProfile(path, content) != common::ReadStatus::Ok) {
        return std::nullopt;
    }
    return lookupIn(content, section, key);
}

std::string_view lineEndOf(std::string_view content) {
    const std::size_t newline = content.find('\n');
    if (newline != std::string_view::npos && newline > 0 && content[newline - 1] == '\r') {
        return "\r\n";
    }
    return "\n";
}

// The file's text with the key set: the value replaced on the key's own line, a new key line
// after the section's last key, or a new section at the end. Every other byte stays.
std::string withKey(const std::string& content, std::string_view section, std::string_view key,
                    std::string_view value) {
    const std::string_view eol = lineEndOf(content);
    const std::vector<Line> lines = splitLines(content);
    const std::optional<SectionRange> range = findSection(lines, section);
    if (!range) {
        std::string result = content;
        if (!result.empty() && result.back() != '\n') {
            result += eol;
        }
        result.append("[").append(section).append("]").append(eol);
        return result.append(key).append("=").append(value).append(eol);
    }
    if (const std::optional<std::size_t> index = findKey(lines, *range, key)) {
        const Line& line = lines[*index];
        const std::size_t valueBegin = line.begin + line.valueBegin;
        const std::size_t lineTextEnd = line.begin + line.text.size();
        return content.substr(0, valueBegin) + std::string(value) + content.substr(lineTextEnd);
    }
    std::size_t after = range->header;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (lines[i].kind == LineKind::Key) {
            after = i;
        }
    }
    const Line& anchor = lines[after];
    const std::size_t insertAt = anchor.begin + anchor.text.size() + anchor.end.size();
    std::string inserted = anchor.end.empty() ? std::string(eol) : std::string();
    inserted.append(key).append("=").append(value).append(eol);
    return content.substr(0, insertAt) + inserted + content.substr(insertAt);
}

// The text with the key's line, line end included, taken out; the text itself when the key is
// missing.
std::string withoutKey(const std::string& content, std::string_view section, std::string_view key) {
    const std::vector<Line> lines = splitLines(content);
    const std::optional<SectionRange> range = findSection(lines, section);
    const std::optional<std::size_t> index = range ? findKey(lines, *range, key) : std::nullopt;
    if (!index) {
        return content;
    }
    const Line& line = lines[*index];
    std::string result = content;
    return result.erase(line.begin, line.text.size() + line.end.size());
}

// Writes the new text in one step, so the target is at every moment either the old or the
// new file.
bool replaceAtomically(const std::filesystem::path& target, std::string_view content) {
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    return common::ReplacementFile::replace(target, content) == common::ReplacementFile::Status::Ok;
}

// A name that stays on its own line and reads back as written: not empty, no line break and no
// NUL byte (which the text handling of many readers takes for the end of the name).
bool isWritableName(std::string_view text) {
    constexpr std::string_view kLineBreaking("\r\n\0", 3);
    return !text.empty() && text.find_first_of(kLineBreaking) == std::string_view::npos;
}

bool isWritableEntry(std::string_view section, std::string_view key, std::string_view value) {
    return isWritableName(section) && section.find(']') == std::string_view::npos &&
           isWritableName(key) && key.find('=') == std::string_view::npos && key.front() != '[' &&
           key.front() != ';' && value.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

ProfileFile::ProfileFile(std::filesystem::path path) : m_path(std::move(path)) {}

bool ProfileFile::exists() const {
    std::error_code error;
    return std::filesystem::is_regular_file(m_path, error) && ::access(m_path.c_str(), R_OK) == 0;
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback, std::size_t maxLength) const {
    std::string value = lookup(m_path, section, key).value_or(std::string(fallback));
    if (maxLength != 0 && value.size() > maxLength) {
        value.resize(maxLength);
    }
    return value;
}

int32_t ProfileFile::readInt(std::string_view section, std::string_view key,
                             int32_t fallback) const {
    const std::optional<std::string> value = lookup(m_path, section, key);
    if (!value || value->empty()) {
        return fallback;
    }
    std::string_view digits = *value;
    const bool negative = digits.front() == '-';
    if (digits.front() == '-' || digits.front() == '+') {
        digits.remove_prefix(1);
    }
    int64_t number = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            break;
        }
        number = std::min(number * 10 + (c - '0'), kLimit);
    }
    if (negative) {
        return static_cast<int32_t>(-number);
    }
    return static_cast<int32_t>(std::min(number, kLimit - 1));
}

bool ProfileFile::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    ProfileEdit edit(*this);
    return edit.writeString(section, key, value) && edit.commit();
}

ProfileEdit::ProfileEdit(ProfileFile& file)
    : m_path(file.path()),
      m_readable(readProfile(m_path, m_content) != common::ReadStatus::Unreadable) {}

bool ProfileEdit::isEditable() const {
    return m_readable && m_content.size() <= kMaxProfileBytes;
}

std::optional<std::string> ProfileEdit::find(std::string_view section, std::string_view key) const {
    return lookupIn(m_content, section, key);
}

bool ProfileEdit::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    section = trim(section);
    key = trim(key);
    if (!isWritableEntry(section, key, value) || !isEditable()) {
        return false;
    }
    m_content = withKey(m_content, section, key, trim(value));
    m_changed = true;
    return true;
}

void ProfileEdit::removeKey(std::string_view section, std::string_view key) {
    if (!isEditable()) {
        return;
    }
    std::string edited = withoutKey(m_content, trim(section), trim(key));
    m_changed = m_changed || edited.size() != m_content.size();
    m_content = std::move(edited);
}

bool ProfileEdit::commit() {
    if (!m_readable) {
        return false;
    }
    if (!m_changed) {
        return true;
    }
    if (!replaceAtomically(m_path, m_content)) {
        return false;
    }
    m_changed = false;
    return true;
}

std::filesystem::path userProfilePath() {
    std::filesystem::path config;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0') {
            const passwd* entry = ::getpwuid(::getuid());
            home = entry != nullptr ? entry->pw_dir : "/tmp";
        }
        config = std::filesystem::path(home) / ".config";
    }
    return config / "quenvar-voxtrial" / "user.ini";
}

}  // namespace platform
