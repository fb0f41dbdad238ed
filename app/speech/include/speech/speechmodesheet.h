#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

namespace context {
struct EngineSession;
struct SpeechChoices;
}  // namespace context

namespace speech {

// The engine's system speech mode bits for the two choices: 0x01, 0x02 or 0x04 for the speech
// mode, 0x10 (not interruptible) or 0x08 (interruptible); a choice out of range adds no bit.
int32_t SpeechModeBits(int32_t speechModeChoice, int32_t interruptChoice);

// The sheet "Set System Speech Mode": the pages "Speech Mode" and "Interrupt", each showing the
// program's current choice. A page's choice is taken when the page is left, by switching to the
// other page or by OK; Cancel drops only what changed on the page showing.
std::unique_ptr<QDialog> makeSpeechModeSheet(context::SpeechChoices& choices, QWidget* owner);

// Shows the sheet modally and then sends the mode bits to the engine, however it closed.
int ShowSpeechModeSheet(context::SpeechChoices& choices, const context::EngineSession& session,
                        QWidget* owner);

}  // namespace speech
