// libFuzzer entry for the text path with user dictionaries loaded: the input is a text
// dictionary, a NUL byte, and a text. The dictionary is compiled, loaded three times over, and
// the text built piece by piece as the engine does; a piece may grow only by the dictionaries'
// bounded budget.
#include <saymgr.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dictionary/binarydictionary.h"
#include "dictionary/textdictionary.h"
#include "dictionary/userdictionary.h"
#include "dictionary/wordtable.h"
#include "text/bytetable.h"
#include "text/segmentscanner.h"
#include "text/textbuilder.h"

using saymgr::UserDictionary;
using namespace saymgr::dictionary;
using namespace saymgr::text;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    if (split == std::string_view::npos) {
        return 0;
    }
    WordTable table;
    if (TextDictionary::parse(input.substr(0, split), true, table) != SAYMGR_OK) {
        return 0;
    }
    std::unique_ptr<UserDictionary> loaded;
    if (UserDictionary::fromBytes(BinaryDictionary::encode(1, table), loaded) != SAYMGR_OK) {
        std::abort();
    }
    const std::shared_ptr<const UserDictionary> dictionary(std::move(loaded));
    const std::string_view text = input.substr(split + 1);
    static const ByteTable ansi(true);
    const TextBuilder builder(text, ansi, Dictionaries(3, dictionary));
    SegmentScanner scanner(text);
    int32_t start = 0;
    int32_t end = 0;
    while (scanner.next(start, end)) {
        const SynthesisText piece = builder.build(start, end);
        // Every source byte may become 3 bytes of UTF-8 and 6 of markup escaping, before and
        // after the dictionaries' growth; escape commands add tags of bounded size.
        const auto length = static_cast<std::size_t>(end - start);
        const std::size_t bound = (length * 3 * (UserDictionary::kGrowthPerByte + 1) +
                                   UserDictionary::kMaxReplacementGrowth) *
                                      6 +
                                  length * 64 + 4096;
        if (piece.markup.size() > bound) {
            std::abort();
        }
    }
    return 0;
}
