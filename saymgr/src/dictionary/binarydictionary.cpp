#include "dictionary/binarydictionary.h"

#include <saymgr.h>

#include "dictionary/crc32.h"
#include "dictionary/wordtext.h"

namespace saymgr::dictionary {
namespace {

constexpr std::string_view kMagic{"QVXDCB\x1A\n", 8};
constexpr std::size_t kHeaderBytes = kMagic.size() + std::size_t{4} * 4;
constexpr std::size_t kChecksumBytes = 4;

void putUint(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// Reads little-endian integers from a byte range, failing once past its end.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

    bool uint(uint32_t& value, int bytes) {
        if (m_bytes.size() < static_cast<std::size_t>(bytes)) {
            return false;
        }
        value = 0;
        for (int i = 0; i < bytes; ++i) {
            value |= static_cast<uint32_t>(static_cast<unsigned char>(m_bytes[i])) << (8 * i);
        }
        m_bytes.remove_prefix(static_cast<std::size_t>(bytes));
        return true;
    }

    bool text(std::string_view& value, std::size_t length) {
        if (m_bytes.size() < length) {
            return false;
        }
        value = m_bytes.substr(0, length);
        m_bytes.remove_prefix(length);
        return true;
    }

    bool atEnd() const { return m_bytes.empty(); }

  private:
    std::string_view m_bytes;
};

bool isStoredWord(std::string_view word) {
    return word.size() <= BinaryDictionary::kMaxWordBytes && isSingleWord(word) &&
           foldWord(word) == word;
}

bool decodeEntries(std::string_view payload, uint32_t count, WordTable& table) {
    Reader reader(payload);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t wordLength = 0;
        uint32_t replacementLength = 0;
        std::string_view word;
        std::string_view replacement;
        if (!reader.uint(wordLength, 2) || !reader.uint(replacementLength, 2) ||
            replacementLength > BinaryDictionary::kMaxReplacementBytes ||
            !reader.text(word, wordLength) || !reader.text(replacement, replacementLength) ||
            !isStoredWord(word) || !isValidReplacement(replacement)) {
            return false;
        }
        std::string key(word);
        if (table.contains(key)) {
            return false;
        }
        table.insert(std::move(key), std::string(replacement));
    }
    return reader.atEnd();
}

}  // namespace

std::string BinaryDictionary::encode(int32_t languageId, const WordTable& table) {
    std::string entries;
    table.forEachSorted([&](const std::string& word, const std::string& replacement) {
        putUint(entries, static_cast<uint32_t>(word.size()), 2);
        putUint(entries, static_cast<uint32_t>(replacement.size()), 2);
        entries += word;
        entries += replacement;
    });
    std::string out(kMagic);
    putUint(out, kVersion, 4);
    putUint(out, static_cast<uint32_t>(languageId), 4);
    putUint(out, static_cast<uint32_t>(table.size()), 4);
    putUint(out, static_cast<uint32_t>(entries.size()), 4);
    out += entries;
    putUint(out, crc32(out), 4);
    return out;
}

int32_t BinaryDictionary::decode(std::string_view bytes, int32_t& languageId, WordTable& table) {
    if (!bytes.starts_with(kMagic)) {
        return SAYMGR_EDICT_FORMAT;
    }
    if (bytes.size() < kHeaderBytes + kChecksumBytes || bytes.size() > kMaxFileBytes) {
        return SAYMGR_EDICT_LOAD;
    }
    Reader header(bytes.substr(kMagic.size()));
    uint32_t version = 0;
    uint32_t language = 0;
    uint32_t count = 0;
    uint32_t payloadSize = 0;
    header.uint(version, 4);
    header.uint(language, 4);
    header.uint(count, 4);
    header.uint(payloadSize, 4);
    // The compiler never writes a dictionary without entries.
    if (version != kVersion || count == 0 || count > kMaxEntries ||
        payloadSize != bytes.size() - kHeaderBytes - kChecksumBytes) {
        return SAYMGR_EDICT_LOAD;
    }
    const std::string_view covered = bytes.substr(0, bytes.size() - kChecksumBytes);
    Reader trailer(bytes.substr(covered.size()));
    uint32_t checksum = 0;
    trailer.uint(checksum, 4);
    if (checksum != crc32(covered) || !decodeEntries(covered.substr(kHeaderBytes), count, table)) {
        return SAYMGR_EDICT_LOAD;
    }
    languageId = static_cast<int32_t>(language);
    return SAYMGR_OK;
}

}  // namespace saymgr::dictionary
