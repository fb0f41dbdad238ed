#include "testsupport/fakeclipboard.h"

namespace testsupport {

void FakeClipboard::setAnsiText(const std::string& text) {
    m_text = text;
    ++m_setCount;
}

}  // namespace testsupport
