#pragma once

#include <cstdint>
#include <string_view>

namespace saymgr::text {

// Splits the caller's text into consecutive pieces that end after a sentence, a paragraph or,
// for very long runs, a blank; the pieces tile the text from byte 0 to its end.
class SegmentScanner {
  public:
    explicit SegmentScanner(std::string_view source) : m_source(source) {}

    // The next piece [start, end); false when the text is used up.
    bool next(int32_t& start, int32_t& end);

    static constexpr int32_t kSoftLimit = 1000;
    static constexpr int32_t kHardLimit = 1500;

  private:
    int32_t endOfPiece(int32_t start) const;
    int32_t afterBlanks(int32_t position, bool& paragraph) const;

    std::string_view m_source;
    int32_t m_position = 0;
};

}  // namespace saymgr::text
