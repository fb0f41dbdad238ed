#include "shell/inputwindow.h"

#include <QScrollBar>
#include <QTextCursor>

namespace shell {

InputWindow::InputWindow(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &InputWindow::enforceLimit);
}

void InputWindow::enforceLimit() {
    const QString text = toPlainText();
    if (text.size() <= kMaxLength)
        return;
    const int position = std::min<int>(textCursor().position(), kMaxLength);
    setPlainText(text.left(kMaxLength));
    QTextCursor cursor = textCursor();
    cursor.setPosition(position);
    setTextCursor(cursor);
}

}  // namespace shell
