#pragma once

#include <string>

#include "platform/clipboardservice.h"

namespace testsupport {

// A clipboard for tests: holds one ANSI text and counts how often the program set it.
class FakeClipboard : public platform::ClipboardService {
  public:
    std::string ansiText() const override { return m_text; }
    void setAnsiText(const std::string& text) override;

    int setCount() const { return m_setCount; }

  private:
    std::string m_text;
    int m_setCount = 0;
};

}  // namespace testsupport
