#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/filedescriptor.h"
#include "speech/textblocks.h"

class QWidget;

namespace context {
struct ProgramContext;
}

namespace speech {

// Where the echo stands in the text of the request in progress.
struct EchoState {
    std::size_t offset = 0;  // the next piece starts here in the source text (echoOffset)
    // The piece shown in the input window: where it starts in the source text and, per byte of
    // the piece, the position in the window's text that shows it.
    bool pieceShown = false;
    std::size_t pieceStart = 0;
    std::vector<int> windowPositions;
};

// Turns a speak command into engine calls: reads the current text source (a text file, the
// clipboard or the input window) into fresh text blocks, translates it and hands it to the
// engine in one blocking call; the end of the request releases the blocks and the file. One
// request runs at a time. Texts of any length are read whole.
class SpeechRequests {
  public:
    explicit SpeechRequests(context::ProgramContext& program,
                            BlockAllocator& allocator = BlockAllocator::heap());

    // The Speak request for the source in AppState.PlayMode; `owner` issued it.
    void SpeakCurrentSource(QWidget* owner);
    // Closes the text file and releases the text blocks of the request.
    void EndSpeakRequest();
    // Speaks the engine's about text, never echoed; returns the engine's status.
    int32_t SpeakAboutText(QWidget* owner);
    // Fills the source and speak blocks from the clipboard: 0, or -1 when there is nothing to
    // speak (no text: silently; an empty text: "No data found in Clipboard!").
    int32_t ReadClipboardText(QWidget* owner);

    // The text of the request as read (before translation).
    std::string_view sourceText() const;
    int32_t requestSource() const { return m_requestSource; }
    // Where the spoken text starts in the input window's text (a spoken selection's start).
    int windowOffset() const { return m_windowOffset; }
    EchoState& echo() { return m_echo; }
    TextBlocks& blocks() { return m_blocks; }
    // True while the request holds text blocks or a file.
    bool holdsResources() const { return m_blocks.allocated() || m_textFile.valid(); }

  private:
    void sendVoiceParameters(QWidget* owner);
    bool readTextFile(QWidget* owner);
    bool readInputWindow(QWidget* owner);
    bool fill(QWidget* owner, std::string_view text, std::size_t blockSize, bool ansi);
    void speak(QWidget* owner, int32_t textForm);
    void report(QWidget* owner, int32_t status);

    context::ProgramContext& m_program;
    TextBlocks m_blocks;
    common::FileDescriptor m_textFile;
    std::size_t m_textLength = 0;
    int32_t m_requestSource = 0;
    int m_windowOffset = 0;
    EchoState m_echo;
};

}  // namespace speech
