#pragma once

#include <QPlainTextEdit>

namespace shell {

// The multi-line input window of the Keyboard text source. It holds at most 999 characters:
// typing or pasting beyond that keeps the first 999.
class InputWindow : public QPlainTextEdit {
    Q_OBJECT
  public:
    static constexpr int kMaxLength = 999;

    explicit InputWindow(QWidget* parent);

  private:
    void enforceLimit();
};

}  // namespace shell
