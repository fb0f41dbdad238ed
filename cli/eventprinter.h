#pragma once

#include <saymgr.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace cli {

// Prints the engine's notifications, one line each: milliseconds since the start, the code,
// its name and, for pieces, words and bookmarks, the start and length in bytes and the text
// they cover (in UTF-8).
class EventPrinter {
  public:
    EventPrinter(std::FILE* out, std::chrono::steady_clock::time_point start);
    EventPrinter(const EventPrinter&) = delete;
    EventPrinter& operator=(const EventPrinter&) = delete;

    // The text the following notifications refer to, as passed to the engine.
    void setText(const std::string& text, bool dos);

    void print(int32_t code, int32_t value1, int32_t value2);

  private:
    std::string quoted(int32_t start, int32_t length) const;

    std::FILE* m_out;
    std::chrono::steady_clock::time_point m_start;
    std::string m_text;
    bool m_dos = false;
    int32_t m_pieceStart = 0;
};

}  // namespace cli
