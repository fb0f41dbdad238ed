#pragma once

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Owns one iconv conversion descriptor. convert() translates as much as it can and stops at
// the first byte it cannot: the caller decides what replaces it.
class IconvConverter {
  public:
    IconvConverter(const char* to, const char* from);
    ~IconvConverter();
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    bool valid() const { return m_descriptor != reinterpret_cast<iconv_t>(-1); }
    // Appends the converted text to `out`; returns the number of input bytes consumed. Fewer
    // than input.size() means the byte at that position has no conversion.
    std::size_t convert(std::string_view input, std::string& out);

  private:
    iconv_t m_descriptor;
};

}  // namespace platform
