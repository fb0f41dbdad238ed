// libFuzzer entry: the first byte chooses the parser, the rest is its input.
#include <saymgr.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dictionary/binarydictionary.h"
#include "dictionary/textdictionary.h"
#include "dictionary/wordtable.h"

using saymgr::dictionary::BinaryDictionary;
using saymgr::dictionary::TextDictionary;
using saymgr::dictionary::WordTable;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    WordTable table;
    int32_t languageId = 0;
    if (data[0] < 128) {
        if (TextDictionary::parse(input, data[0] & 1, table) == SAYMGR_OK) {
            WordTable decoded;
            if (BinaryDictionary::decode(BinaryDictionary::encode(1, table), languageId, decoded) !=
                    SAYMGR_OK ||
                decoded.size() != table.size()) {
                std::abort();
            }
        }
    } else {
        BinaryDictionary::decode(input, languageId, table);
    }
    return 0;
}
