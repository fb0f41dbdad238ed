#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

namespace saymgr::dictionary {

// Converts 8-bit text of code page 437 (DOS) or Windows-1252 (ANSI) to UTF-8 with iconv.
class CodePageDecoder {
  public:
    // `ansi` false: code page 437; true: Windows-1252.
    explicit CodePageDecoder(bool ansi);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    bool isOpen() const { return m_converter != kClosed; }
    // False when `text` has a byte the code page does not define.
    bool decode(std::string_view text, std::string& utf8);

  private:
    static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
    iconv_t m_converter;
};

}  // namespace saymgr::dictionary
