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
#include <unordered_map>
#include <unordered_set>
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

// A settings file is small; anything larger, and anything that is no regular file (a pipe, a
// device, a folder), is never read whole.
constexpr std::size_t kMaxProfileBytes = std::size_t{16} * 1024 * 1024;

common::ReadStatus readProfile(const std::filesystem::path& path, std::string& content) {
    common::ReadStatus status = common::readRegularFile(path, kMaxProfileBytes, content);
    if (status == common::ReadStatus::Ok && content.size() > kMaxProfileBytes) {
        content.clear();
        status = common::ReadStatus::Unreadable;
    }
    return status;
}

std::string_view lineEndOf(std::string_view content) {
    const std::size_t newline = content.find('\n');
    if (newline != std::string_view::npos && newline > 0 && content[newline - 1] == '\r') {
        return "\r\n";
    }
    return "\n";
}

// Calls `visit` with each line of the content in order, classified.
template <typename Visit>
void forEachLine(std::string_view content, Visit visit) {
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
        visit(line);
        begin = stop + (newline == std::string_view::npos ? 0 : 1);
    }
}

std::string folded(std::string_view name) {
    std::string out(name);
    std::ranges::transform(out, out.begin(), lower);
    return out;
}

// A name pair as the index keys it: section and key folded, joined by a NUL byte (which no
// name holds).
std::string entryName(std::string_view section, std::string_view key) {
    return folded(trim(section)) + '\0' + folded(trim(key));
}

// Where each key of a file is found by section and key: only the first section of a name
// counts, and in it the first key of a name. Made in one pass over the text, so reading all
// the settings costs one pass, whatever the file's size.
class ProfileIndex {
  public:
    explicit ProfileIndex(std::string_view content) {
        std::unordered_set<std::string> sections;
        bool counts = false;
        std::string section;
        forEachLine(content, [&](const Line& line) {
            if (line.kind == LineKind::Section) {
                section = folded(line.name);
                counts = sections.insert(section).second;
            } else if (line.kind == LineKind::Key && counts) {
                m_values.try_emplace(section + '\0' + folded(line.name), line.value);
            }
        });
    }

    std::optional<std::string> find(std::string_view section, std::string_view key) const {
        const auto found = m_values.find(entryName(section, key));
        if (found == m_values.end()) {
            return std::nullopt;
        }
        return std::string(found->second);
    }

  private:
    std::unordered_map<std::string, std::string_view> m_values;  // into the indexed text
};

// A file's text with a set of changes made to it in one pass: a changed key keeps its line with
// the new value, a removed key loses its line, a new key goes after the last key line of its
// section, a new section at the end. Every other byte stays.
class ProfileMerge {
  public:
    ProfileMerge(std::string_view content, const ProfileChanges& changes)
        : m_content(content), m_changes(changes), m_eol(lineEndOf(content)) {}

    std::string merged() {
        forEachLine(m_content, [&](const Line& line) {
            if (line.kind == LineKind::Section) {
                endSection();
                const std::string name = folded(line.name);
                m_section = m_seenSections.insert(name).second ? name : std::string();
                m_insertAt = line.begin + line.text.size() + line.end.size();
                m_insertNeedsEol = line.end.empty();
            } else if (line.kind == LineKind::Key && !m_section.empty()) {
                changeKey(line);
            }
        });
        endSection();
        copyTo(m_content.size());
        appendNewSections();
        return std::move(m_out);
    }

  private:
    void copyTo(std::size_t offset) {
        m_out.append(m_content.substr(m_copied, offset - m_copied));
        m_copied = offset;
    }

    void changeKey(const Line& line) {
        const std::size_t lineEnd = line.begin + line.text.size() + line.end.size();
        const std::string name = m_section + '\0' + folded(line.name);
        const auto change = m_changes.values.find(name);
        if (change != m_changes.values.end() && m_done.insert(name).second) {
            if (change->second) {
                copyTo(line.begin + line.valueBegin);
                m_out += *change->second;
                m_copied = line.begin + line.text.size();
            } else {
                copyTo(line.begin);
                m_copied = lineEnd;
                return;
            }
        }
        m_insertAt = lineEnd;
        m_insertNeedsEol = line.end.empty();
    }

    // New keys of the section that ends here go after its last key line.
    void endSection() {
        if (m_section.empty()) {
            return;
        }
        std::string inserted;
        for (const auto& [section, key] : m_changes.order) {
            const std::string name = entryName(section, key);
            const auto& value = m_changes.values.at(name);
            if (folded(section) == m_section && value && m_done.insert(name).second) {
                inserted.append(key).append("=").append(*value).append(m_eol);
            }
        }
        if (!inserted.empty()) {
            copyTo(m_insertAt);
            if (m_insertNeedsEol) {
                m_out += m_eol;
            }
            m_out += inserted;
        }
        m_section.clear();
    }

    void appendNewSections() {
        std::unordered_set<std::string> added;
        for (const auto& [section, key] : m_changes.order) {
            const std::string name = entryName(section, key);
            const auto& value = m_changes.values.at(name);
            if (!value || m_seenSections.contains(folded(section)) || !m_done.insert(name).second) {
                continue;
            }
            if (added.insert(folded(section)).second) {
                if (!m_out.empty() && m_out.back() != '\n') {
                    m_out += m_eol;
                }
                m_out.append("[").append(section).append("]").append(m_eol);
            }
            m_out.append(key).append("=").append(*value).append(m_eol);
        }
    }

    std::string_view m_content;
    const ProfileChanges& m_changes;
    std::string_view m_eol;
    std::string m_out;
    std::size_t m_copied = 0;
    std::string m_section;  // folded; empty outside a first section of its name
    std::unordered_set<std::string> m_seenSections;
    std::unordered_set<std::string> m_done;  // changes made
    std::size_t m_insertAt = 0;
    bool m_insertNeedsEol = false;
};

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

// What a file looked like when it was read: the same inode, size and modification time mean the
// same text.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};

    static FileIdentity of(const std::filesystem::path& path) {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) {
            return {};
        }
        return {status.st_dev, status.st_ino, status.st_size, status.st_mtim};
    }
    bool operator==(const FileIdentity& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

}  // namespace

struct ProfileFile::Snapshot {
    explicit Snapshot(const std::filesystem::path& path)
        : identity(FileIdentity::of(path)),
          status(readProfile(path, content)),
          index(status == common::ReadStatus::Ok ? std::string_view(content) : std::string_view()) {
    }

    FileIdentity identity;
    std::string content;
    common::ReadStatus status;
    ProfileIndex index;  // views into content
};

ProfileFile::ProfileFile(std::filesystem::path path) : m_path(std::move(path)) {}

bool ProfileFile::exists() const {
    std::error_code error;
    return std::filesystem::is_regular_file(m_path, error) && ::access(m_path.c_str(), R_OK) == 0;
}

std::shared_ptr<const ProfileFile::Snapshot> ProfileFile::snapshot() const {
    if (!m_snapshot || !(m_snapshot->identity == FileIdentity::of(m_path))) {
        m_snapshot = std::make_shared<const Snapshot>(m_path);
    }
    return m_snapshot;
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback, std::size_t maxLength) const {
    std::string value = snapshot()->index.find(section, key).value_or(std::string(fallback));
    if (maxLength != 0 && value.size() > maxLength) {
        value.resize(maxLength);
    }
    return value;
}

int32_t ProfileFile::readInt(std::string_view section, std::string_view key,
                             int32_t fallback) const {
    const std::optional<std::string> value = snapshot()->index.find(section, key);
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

ProfileEdit::ProfileEdit(ProfileFile& file) : m_path(file.path()), m_original(file.snapshot()) {}

bool ProfileEdit::isEditable() const {
    return m_original->status != common::ReadStatus::Unreadable;
}

std::optional<std::string> ProfileEdit::find(std::string_view section, std::string_view key) const {
    const auto change = m_changes.values.find(entryName(section, key));
    if (change != m_changes.values.end()) {
        return change->second;
    }
    return m_original->index.find(section, key);
}

void ProfileEdit::change(std::string_view section, std::string_view key,
                         std::optional<std::string> value) {
    const auto [entry, added] = m_changes.values.insert_or_assign(entryName(section, key), value);
    if (added) {
        m_changes.order.emplace_back(section, key);
    }
}

bool ProfileEdit::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    section = trim(section);
    key = trim(key);
    if (!isWritableEntry(section, key, value) || !isEditable()) {
        return false;
    }
    change(section, key, std::string(trim(value)));
    return true;
}

void ProfileEdit::removeKey(std::string_view section, std::string_view key) {
    if (isEditable() && find(section, key)) {
        change(trim(section), trim(key), std::nullopt);
    }
}

bool ProfileEdit::commit() {
    if (!isEditable()) {
        return false;
    }
    if (m_changes.values.empty()) {
        return true;
    }
    const std::string merged = ProfileMerge(m_original->content, m_changes).merged();
    if (!replaceAtomically(m_path, merged)) {
        return false;
    }
    m_changes = {};
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
