#include "dictionary/userdictionary.h"

#include <saymgr.h>

#include "dictionary/binarydictionary.h"
#include "dictionary/dictionaryfile.h"
#include "dictionary/textdictionary.h"
#include "dictionary/wordtable.h"
#include "dictionary/wordtext.h"

namespace saymgr {

struct UserDictionary::Entries {
    dictionary::WordTable table;
};

namespace {

// Copies `count` bytes of `text` from `position` to `out`.
void copyBytes(const MappedText& text, std::size_t position, std::size_t count, MappedText& out) {
    out.utf8.append(text.utf8, position, count);
    const auto first = text.sourceOffsets.begin() + static_cast<std::ptrdiff_t>(position);
    out.sourceOffsets.insert(out.sourceOffsets.end(), first,
                             first + static_cast<std::ptrdiff_t>(count));
}

// Every byte of a replacement takes the source offset of the first byte of the word it
// stands for, never less than the offset before it.
void appendReplacement(const std::string& replacement, int32_t offset, MappedText& out) {
    if (!out.sourceOffsets.empty() && out.sourceOffsets.back() > offset) {
        offset = out.sourceOffsets.back();
    }
    out.utf8 += replacement;
    out.sourceOffsets.insert(out.sourceOffsets.end(), replacement.size(), offset);
}

// Where a "[[phonemes]]" section that starts at `position` ends (after its "]]", or at the
// end of the text when it is not closed).
std::size_t phonemeSectionEnd(std::string_view text, std::size_t position) {
    const std::size_t close = text.find("]]", position + 2);
    return close == std::string_view::npos ? text.size() : close + 2;
}

// The replacement of `word` in the first of `dictionaries` that holds it, or null.
const std::string* find(std::span<const std::shared_ptr<const UserDictionary>> dictionaries,
                        const std::string& word) {
    for (const auto& dictionary : dictionaries) {
        if (const std::string* replacement = dictionary->entry(word)) {
            return replacement;
        }
    }
    return nullptr;
}

}  // namespace

const std::string* UserDictionary::entry(const std::string& foldedWord) const {
    return m_entries->table.find(foldedWord);
}

UserDictionary::UserDictionary(int32_t languageId, std::unique_ptr<Entries> entries)
    : m_languageId(languageId), m_entries(std::move(entries)) {}

UserDictionary::~UserDictionary() = default;

std::string UserDictionary::toBytes() const {
    return dictionary::BinaryDictionary::encode(m_languageId, m_entries->table);
}

std::size_t UserDictionary::size() const {
    return m_entries->table.size();
}

int32_t UserDictionary::compile(const std::string& textPath, int32_t codePageFlag,
                                int32_t languageId, const std::string& binaryPath) {
    if (codePageFlag != SAYMGR_TEXT_DOS && codePageFlag != SAYMGR_TEXT_ANSI) {
        return SAYMGR_ERANGE;
    }
    std::string source;
    int32_t status = dictionary::DictionaryFile::read(
        textPath, dictionary::TextDictionary::kMaxFileBytes, source);
    if (status != SAYMGR_OK) {
        return status;
    }
    dictionary::WordTable table;
    status = dictionary::TextDictionary::parse(source, codePageFlag == SAYMGR_TEXT_ANSI, table);
    if (status != SAYMGR_OK) {
        return status;
    }
    // Writing over the source would lose the text dictionary.
    if (dictionary::DictionaryFile::sameFile(textPath, binaryPath)) {
        return SAYMGR_EFILE_OPEN;
    }
    return dictionary::DictionaryFile::writeAtomically(
        binaryPath, dictionary::BinaryDictionary::encode(languageId, table));
}

int32_t UserDictionary::load(const std::string& binaryPath,
                             std::unique_ptr<UserDictionary>& dictionary) {
    std::string bytes;
    const int32_t status = dictionary::DictionaryFile::read(
        binaryPath, dictionary::BinaryDictionary::kMaxFileBytes, bytes);
    return status != SAYMGR_OK ? status : fromBytes(bytes, dictionary);
}

int32_t UserDictionary::fromBytes(std::string_view bytes,
                                  std::unique_ptr<UserDictionary>& dictionary) {
    auto entries = std::make_unique<Entries>();
    int32_t languageId = 0;
    const int32_t status = dictionary::BinaryDictionary::decode(bytes, languageId, entries->table);
    if (status != SAYMGR_OK) {
        return status;
    }
    dictionary.reset(new UserDictionary(languageId, std::move(entries)));
    return SAYMGR_OK;
}

MappedText UserDictionary::apply(const MappedText& text) const {
    const std::shared_ptr<const UserDictionary> self(std::shared_ptr<const UserDictionary>(), this);
    return apply(std::span(&self, 1), text);
}

MappedText UserDictionary::apply(
    std::span<const std::shared_ptr<const UserDictionary>> dictionaries, const MappedText& text) {
    if (text.sourceOffsets.size() != text.utf8.size() || dictionaries.empty()) {
        return text;
    }
    const std::string_view utf8 = text.utf8;
    const std::size_t limit = utf8.size() * (kGrowthPerByte + 1) + kMaxReplacementGrowth;
    MappedText out;
    out.utf8.reserve(utf8.size());
    out.sourceOffsets.reserve(utf8.size());
    std::size_t position = 0;
    while (position < utf8.size()) {
        if (utf8.substr(position).starts_with("[[")) {
            const std::size_t end = phonemeSectionEnd(utf8, position);
            copyBytes(text, position, end - position, out);
            position = end;
            continue;
        }
        const std::size_t end = dictionary::wordEnd(utf8, position);
        if (end == position) {
            const std::size_t length = dictionary::decodeUtf8(utf8, position).length;
            copyBytes(text, position, length, out);
            position += length;
            continue;
        }
        const std::string* replacement =
            find(dictionaries, dictionary::foldWord(utf8.substr(position, end - position)));
        if (replacement != nullptr &&
            out.utf8.size() + replacement->size() + (utf8.size() - end) <= limit) {
            appendReplacement(*replacement, text.sourceOffsets[position], out);
        } else {
            copyBytes(text, position, end - position, out);
        }
        position = end;
    }
    return out;
}

}  // namespace saymgr
