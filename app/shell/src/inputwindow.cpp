#include "inputwindow.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <algorithm>

namespace shell {

namespace {

// The number of characters a key puts into a plain-text edit: its text when that is printable,
// one line break for Return and Enter.
int insertedLength(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return 1;
    const QString text = event.text();
    return !text.isEmpty() && text.front().isPrint() ? static_cast<int>(text.size()) : 0;
}

}  // namespace

InputWindow::InputWindow(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
}

int InputWindow::room() const {
    const QTextCursor cursor = textCursor();
    const int length = document()->characterCount() - 1;
    return kMaxLength - length + (cursor.selectionEnd() - cursor.selectionStart());
}

void InputWindow::keyPressEvent(QKeyEvent* event) {
    if (insertedLength(*event) > room()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void InputWindow::inputMethodEvent(QInputMethodEvent* event) {
    const int fits = std::max(room(), 0);
    if (event->commitString().size() <= fits) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent fitting(event->preeditString(), event->attributes());
    fitting.setCommitString(event->commitString().left(fits), event->replacementStart(),
                            event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&fitting);
}

void InputWindow::insertFromMimeData(const QMimeData* source) {
    const int fits = std::max(room(), 0);
    if (!source->hasText() || source->text().size() <= fits) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData fitting;
    fitting.setText(source->text().left(fits));
    QPlainTextEdit::insertFromMimeData(&fitting);
}

}  // namespace shell
