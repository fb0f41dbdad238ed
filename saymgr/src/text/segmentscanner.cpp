#include "text/segmentscanner.h"

#include "text/characters.h"

namespace saymgr::text {

namespace {

bool isSentenceEnd(char c) {
    return c == '.' || c == '!' || c == '?';
}

}  // namespace

bool SegmentScanner::next(int32_t& start, int32_t& end) {
    if (m_position >= static_cast<int32_t>(m_source.size())) {
        return false;
    }
    start = m_position;
    end = endOfPiece(start);
    m_position = end;
    return true;
}

int32_t SegmentScanner::afterBlanks(int32_t position, bool& paragraph) const {
    const auto size = static_cast<int32_t>(m_source.size());
    int lineEnds = 0;
    while (position < size && isBlank(m_source[static_cast<std::size_t>(position)])) {
        lineEnds += m_source[static_cast<std::size_t>(position)] == '\n' ? 1 : 0;
        ++position;
    }
    paragraph = lineEnds >= 2;
    return position;
}

int32_t SegmentScanner::endOfPiece(int32_t start) const {
    const auto size = static_cast<int32_t>(m_source.size());
    for (int32_t i = start; i < size; ++i) {
        const char c = m_source[static_cast<std::size_t>(i)];
        const int32_t length = i - start;
        if (length >= kHardLimit) {
            // Never cut an escape command in two: back up to just before a recent escape.
            for (int32_t back = i; back > i - 8 && back > start + 1; --back) {
                if (m_source[static_cast<std::size_t>(back - 1)] == kEscape) {
                    return back - 1;
                }
            }
            return i;
        }
        const bool lastByte = i + 1 >= size;
        bool paragraph = false;
        if (isSentenceEnd(c) && (lastByte || isBlank(m_source[static_cast<std::size_t>(i) + 1]))) {
            return afterBlanks(i + 1, paragraph);
        }
        if (isBlank(c)) {
            const int32_t after = afterBlanks(i, paragraph);
            if (paragraph || length >= kSoftLimit) {
                return after;
            }
            i = after - 1;
        }
    }
    return size;
}

}  // namespace saymgr::text
