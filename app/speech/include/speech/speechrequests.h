#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
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

// Turns a speak or generate command into engine calls: reads the current text source (a text
// file, the clipboard or the input window) into fresh text blocks, translates it and hands it
// to the engine in one blocking call; the end of the request releases the blocks and the file.
// One request runs at a time. Texts of any length are read whole. The program's speech
// observer, when one is set, is told when each engine call begins and ends.
class SpeechRequests {
  public:
    // What the request in progress does; notifications treat each differently.
    enum class Kind { None, Speak, About, Generate };

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
    // Writes the speech of the current source into the file at `path` in `format` and ends the
    // request; returns the engine's status or the code of the failure reported (errors are
    // shown against `owner`, which may be null).
    int32_t GenerateFileFromSource(QWidget* owner, const std::string& path, int32_t format,
                                   int32_t extra);

    // The text of the request as read (before translation).
    std::string_view sourceText() const;
    int32_t requestSource() const { return m_requestSource; }
    Kind kind() const { return m_kind; }
    // Where the spoken text starts in the input window's text (a spoken selection's start).
    int windowOffset() const { return m_windowOffset; }
    EchoState& echo() { return m_echo; }
    TextBlocks& blocks() { return m_blocks; }
    // True while the request holds text blocks or a file.
    bool holdsResources() const { return m_blocks.allocated() || m_textFile.valid(); }

  private:
    // The translated text of a request, ready for the engine.
    struct PreparedText {
        const char* text = nullptr;
        int32_t length = 0;
        int32_t textForm = 1;
    };

    // Starts a request of `kind`: the echo starts at the beginning of its text.
    void begin(Kind kind);
    void sendVoiceParameters(QWidget* owner);
    void observeBegin(const PreparedText& prepared, std::chrono::steady_clock::time_point command);
    void observeEnd(int32_t status);
    // Reads the source in AppState.PlayMode; 0, or the code of the failure (already shown,
    // -1 for a failure shown earlier or not at all).
    int32_t prepareSource(QWidget* owner, PreparedText& prepared);
    int32_t readTextFile(QWidget* owner, PreparedText& prepared);
    int32_t readInputWindow(QWidget* owner, PreparedText& prepared);
    PreparedText translatedBlocks(int32_t textForm);
    bool fill(QWidget* owner, std::string_view text, std::size_t blockSize, bool ansi);
    void report(QWidget* owner, int32_t status);

    context::ProgramContext& m_program;
    TextBlocks m_blocks;
    common::FileDescriptor m_textFile;
    std::size_t m_textLength = 0;
    int32_t m_requestSource = 0;
    Kind m_kind = Kind::None;
    int m_windowOffset = 0;
    EchoState m_echo;
};

}  // namespace speech
