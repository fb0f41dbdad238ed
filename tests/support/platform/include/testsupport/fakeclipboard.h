#pragma once

#include <optional>
#include <string>

#include "platform/clipboardservice.h"

namespace testsupport {

// A clipboard for tests: holds one ANSI text, or none, and counts how often the program set it.
class FakeClipboard : public platform::ClipboardService {
  public:
    std::optional<std::string> ansiText() const override { return m_text; }
    void setAnsiText(const std::string& text) override;
    void clear() { m_text.reset(); }

    int setCount() const { return m_setCount; }

  private:
    std::optional<std::string> m_text;
    int m_setCount = 0;
};

}  // namespace testsupport
