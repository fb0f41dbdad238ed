#include "speech/keyboardtext.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include "common/codepage.h"
#include "context/commandids.h"
#include "context/programcontext.h"

namespace speech {

namespace {

QPlainTextEdit* inputOf(context::ProgramContext& program) {
    return qobject_cast<QPlainTextEdit*>(program.controls.inputWindow.data());
}

std::string* currentText(context::ProgramContext& program) {
    const int slot = program.appState.Language - 1;
    if (slot < 0 || slot >= context::kLanguageSlots)
        return nullptr;
    return &program.keyboard.keyboardText[slot];
}

// Only the Keyboard source shows the typed text; under the others the window is empty, and
// storing it would throw the language's text away.
bool showsTypedText(const context::ProgramContext& program) {
    return program.appState.PlayMode == context::IDM_SOURCEKEYBOARD;
}

}  // namespace

void storeKeyboardText(context::ProgramContext& program) {
    if (!showsTypedText(program))
        return;
    QPlainTextEdit* input = inputOf(program);
    std::string* text = currentText(program);
    if (input && text)
        *text = input->toPlainText().left(context::kKeyboardTextLength).toStdString();
    storeSelection(program);
}

void showKeyboardText(context::ProgramContext& program) {
    QPlainTextEdit* input = inputOf(program);
    const std::string* text = currentText(program);
    if (!input || !text || !showsTypedText(program))
        return;
    input->setPlainText(QString::fromStdString(*text));
    selectSavedRange(program);
    QString selected = input->textCursor().selectedText();
    // Copying an empty selection leaves the clipboard alone, as a copy shortcut does: another
    // program's text stays there.
    if (selected.isEmpty() || !program.services.clipboard)
        return;
    selected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    program.services.clipboard->setAnsiText(common::utf8ToAnsi(selected.toStdString()));
}

void storeSelection(context::ProgramContext& program) {
    if (QPlainTextEdit* input = inputOf(program)) {
        const QTextCursor cursor = input->textCursor();
        const auto start = static_cast<uint32_t>(cursor.selectionStart()) & 0xFFFF;
        const auto end = static_cast<uint32_t>(cursor.selectionEnd()) & 0xFFFF;
        program.keyboard.savedSelection = static_cast<int32_t>(end << 16 | start);
    }
}

void selectSavedRange(context::ProgramContext& program) {
    QPlainTextEdit* input = inputOf(program);
    if (!input)
        return;
    const int length = static_cast<int>(input->document()->characterCount()) - 1;
    const auto selection = static_cast<uint32_t>(program.keyboard.savedSelection);
    const int start = std::min(static_cast<int>(selection & 0xFFFF), length);
    const int end = std::min(static_cast<int>(selection >> 16), length);
    QTextCursor cursor = input->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    input->setTextCursor(cursor);
}

}  // namespace speech
