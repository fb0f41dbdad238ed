#pragma once

#include <QString>
#include <QTimer>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "context/speechobserver.h"

class QPlainTextEdit;

namespace context {
struct ProgramContext;
}

namespace speech {

class SpeechRequests;

// Shows the engine's progress in the input window: the piece of text being spoken (the echo,
// while TextOut is on) and the word being heard (a selection, the mark). A mark lands on what
// the window shows: inside the echoed piece through its cleaning, or in the window's own text
// from where the spoken text starts there (a spoken selection). A generation runs far faster than
// speech, so while one runs the window takes the latest piece and selection at most every
// kGenerationRefresh, the last ones of a burst when its time comes.
class SpokenTextView {
  public:
    // A shown piece holds at most this many bytes, the echo blocks' size less the terminator.
    static constexpr std::size_t kMaxPieceBytes = 2999;
    static constexpr std::chrono::milliseconds kGenerationRefresh{40};

    SpokenTextView(context::ProgramContext& program, SpeechRequests& requests);

    // The engine's notification (EngineNotifyProc), on the program's thread.
    void onNotify(int32_t code, int32_t value1, int32_t value2);
    // The 7002 window message: echoes only while a speech with its echo enabled runs.
    void onChunkMessage(int32_t length);
    // Shows the next `length` bytes of the request's text in `window`, cleaned.
    void EchoSpokenText(QPlainTextEdit* window, int32_t length, int32_t fileType);

  private:
    // What the window is to show at the next update of a generation.
    struct PendingView {
        std::optional<QString> text;
        std::optional<std::pair<int, int>> selection;
    };

    void mark(int32_t start, int32_t length);
    void showText(QPlainTextEdit& window, const QString& text);
    void showSelection(QPlainTextEdit& window, int first, int last);
    bool coalescing() const;
    void refreshLater();
    void applyPendingView();
    // The piece's bytes copied to the echo chunk: only bytes inside the request's text.
    std::size_t copyPiece(int32_t length);
    void cleanPiece(std::size_t count);
    QPlainTextEdit* inputWindow() const;

    context::ProgramContext& m_program;
    SpeechRequests& m_requests;
    PendingView m_pending;
    context::SpeechObserver::Clock::time_point m_lastRefresh{};
    QTimer m_refreshTimer;  // brings the last updates of a burst to the window
};

}  // namespace speech
