#pragma once

namespace context {
struct ProgramContext;
}

namespace speech {

// The input window's text is kept per language. While the Keyboard source is chosen, storing
// copies the window's text into the current language's buffer and its selection into
// savedSelection; showing puts that buffer back,
// selects the saved range and copies it to the clipboard when it is not empty. Under the other
// sources the window holds no typed text, and both leave the buffers and the window alone.
void storeKeyboardText(context::ProgramContext& program);
void showKeyboardText(context::ProgramContext& program);

// Keeps the input window's selection in savedSelection.
void storeSelection(context::ProgramContext& program);
// Selects the range kept in savedSelection (start in the low, end in the high 16 bits).
void selectSavedRange(context::ProgramContext& program);

}  // namespace speech
