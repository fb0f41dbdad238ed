#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace saymgr::text {

// The UTF-8 form of each of the 256 byte values of one code page (437 for DOS text,
// Windows-1252 for ANSI text), as the synthesizer should read them: control characters and
// bytes the code page leaves undefined become blanks, line ends stay.
class ByteTable {
  public:
    explicit ByteTable(bool ansi);

    const std::string& utf8(uint8_t byte) const { return m_utf8[byte]; }

  private:
    std::array<std::string, 256> m_utf8;
};

}  // namespace saymgr::text
