#include "text/synthesistext.h"

#include <algorithm>

namespace saymgr::text {

std::pair<int32_t, int32_t> SynthesisText::sourceRange(int32_t charIndex, int32_t count) const {
    if (charStarts.empty()) {
        return {sourceStart, sourceStart};
    }
    const auto chars = static_cast<int32_t>(charStarts.size());
    const int32_t first = std::clamp(charIndex, 0, chars - 1);
    const int32_t last = std::clamp(first + std::max(count, 1), first + 1, chars);
    const auto byteBegin = static_cast<std::size_t>(charStarts[static_cast<std::size_t>(first)]);
    const std::size_t byteEnd =
        last < chars ? static_cast<std::size_t>(charStarts[static_cast<std::size_t>(last)])
                     : markup.size();
    const int32_t start = sourceOffsets[byteBegin];
    int32_t end = byteEnd < markup.size() ? sourceOffsets[byteEnd] : sourceEnd;
    if (end <= start) {
        end = *std::max_element(sourceOffsets.begin() + static_cast<std::ptrdiff_t>(byteBegin),
                                sourceOffsets.begin() + static_cast<std::ptrdiff_t>(byteEnd)) +
              1;
    }
    return {start, std::clamp(end, start, sourceEnd)};
}

}  // namespace saymgr::text
