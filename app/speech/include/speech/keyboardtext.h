#pragma once

namespace context {
struct ProgramContext;
}

namespace speech {

// The input window's text is kept per language: storing copies the window's text into the
// current language's buffer; showing puts that buffer back and, for the Keyboard source,
// selects the saved range and copies it to the clipboard when it is not empty.
void storeKeyboardText(context::ProgramContext& program);
void showKeyboardText(context::ProgramContext& program);

// Selects the range kept in savedSelection (start in the low, end in the high 16 bits).
void selectSavedRange(context::ProgramContext& program);

}  // namespace speech
