#include "text/synthesistext.h"

#include <algorithm>
#include <string_view>

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

std::string SynthesisText::spokenText(const Word& word) const {
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
    const int32_t end = word.start + word.length;
    auto i = static_cast<std::size_t>(
        std::lower_bound(sourceOffsets.begin(), sourceOffsets.end(), word.start) -
        sourceOffsets.begin());
    std::string text;
    while (i < markup.size() && sourceOffsets[i] < end) {
        const std::string_view rest = std::string_view(markup).substr(i);
        const auto entity = std::ranges::find_if(
            kEntities, [&](const auto& known) { return rest.starts_with(known.first); });
        if (entity != std::end(kEntities)) {
            text += entity->second;
            i += entity->first.size();
        } else {
            text += markup[i++];
        }
    }
    return text;
}

}  // namespace saymgr::text
