#pragma once

#include <QPlainTextEdit>

class QInputMethodEvent;
class QKeyEvent;
class QMimeData;

namespace shell {

// The multi-line input window of the Keyboard text source. What the user types, pastes or drops
// into it adds up to at most 999 characters: a key that would go beyond that is refused, and a
// pasted or dropped text is cut to what still fits. Text the program puts in itself (a
// language's stored text, the echo of a piece being spoken) is shown whole.
class InputWindow : public QPlainTextEdit {
    Q_OBJECT
  public:
    static constexpr int kMaxLength = 999;

    explicit InputWindow(QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    // How many characters the user may still put in place of the selection (negative when the
    // program's own text is longer than the limit).
    int room() const;
};

}  // namespace shell
