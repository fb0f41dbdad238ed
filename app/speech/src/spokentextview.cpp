#include "speech/spokentextview.h"

#include <saymgr.h>

#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>
#include <cstring>

#include "common/codepage.h"
#include "context/commandids.h"
#include "context/programcontext.h"
#include "speech/speechrequests.h"

namespace speech {
namespace {

constexpr char kEscape = 27;

void select(QPlainTextEdit& window, int start, int end) {
    const int length = static_cast<int>(window.document()->characterCount()) - 1;
    QTextCursor cursor = window.textCursor();
    cursor.setPosition(std::clamp(start, 0, length));
    cursor.setPosition(std::clamp(end, 0, length), QTextCursor::KeepAnchor);
    window.setTextCursor(cursor);
}

}  // namespace

SpokenTextView::SpokenTextView(context::ProgramContext& program, SpeechRequests& requests)
    : m_program(program), m_requests(requests) {
    m_refreshTimer.setSingleShot(true);
    QObject::connect(&m_refreshTimer, &QTimer::timeout, [this] { applyPendingView(); });
}

QPlainTextEdit* SpokenTextView::inputWindow() const {
    return qobject_cast<QPlainTextEdit*>(m_program.controls.inputWindow.data());
}

void SpokenTextView::onNotify(int32_t code, int32_t value1, int32_t value2) {
    switch (code) {
        case SAYMGR_NOTIFY_CHUNK:
            if (m_program.appState.TextOut == 1) {
                EchoSpokenText(inputWindow(), value1, m_program.appState.FileType);
            }
            break;
        case SAYMGR_NOTIFY_MARK1:
        case SAYMGR_NOTIFY_MARK2:
            mark(value2, value1);
            break;
        default:
            break;
    }
}

void SpokenTextView::onChunkMessage(int32_t length) {
    if (m_program.appState.TextOut == 1 && m_program.choices.echoEnabled &&
        m_program.session.speechState != context::SpeechState::Idle) {
        EchoSpokenText(inputWindow(), length, m_program.appState.FileType);
    }
}

void SpokenTextView::EchoSpokenText(QPlainTextEdit* window, int32_t length, int32_t fileType) {
    TextBlocks& blocks = m_requests.blocks();
    if (window == nullptr || !blocks.allocated()) {
        return;
    }
    std::memset(blocks.echoChunk(), 0, TextBlocks::kEchoBlockSize);
    std::memset(blocks.echoLine(), 0, TextBlocks::kEchoBlockSize);
    EchoState& echo = m_requests.echo();
    echo.pieceStart = echo.offset;
    cleanPiece(copyPiece(length));
    echo.offset += static_cast<std::size_t>(std::max(length, 0));
    std::string line(blocks.echoLine());
    if (fileType == 0 && m_program.appState.PlayMode == context::IDM_SOURCEFILE) {
        line = common::oemToAnsi(line);
    }
    showText(*window, QString::fromStdString(common::ansiToUtf8(line)));
    echo.pieceShown = true;
}

std::size_t SpokenTextView::copyPiece(int32_t length) {
    const std::string_view text = m_requests.sourceText();
    const std::size_t start = m_requests.echo().offset;
    if (length <= 0 || start >= text.size()) {
        return 0;
    }
    const std::size_t count =
        std::min({static_cast<std::size_t>(length), text.size() - start, kMaxPieceBytes});
    std::memcpy(m_requests.blocks().echoChunk(), text.data() + start, count);
    return count;
}

// Control characters become blanks, runs of blanks one blank, a leading blank goes; the escape
// character stays. Each byte of the piece remembers where the window shows it.
void SpokenTextView::cleanPiece(std::size_t count) {
    const char* piece = m_requests.blocks().echoChunk();
    char* line = m_requests.blocks().echoLine();
    std::vector<int>& positions = m_requests.echo().windowPositions;
    positions.assign(count, 0);
    std::size_t length = 0;
    char previous = ' ';
    for (std::size_t i = 0; i < count; ++i) {
        char c = piece[i];
        if (static_cast<unsigned char>(c) < 32 && c != kEscape) {
            c = ' ';
        }
        positions[i] = static_cast<int>(length);
        if (!(c == ' ' && previous == ' ')) {
            line[length++] = c;
        }
        previous = c;
    }
}

// A mark selects in what the window shows for the request: an echoed piece, or the user's own
// text while it is spoken. The about text and a generation without an echo leave the user's
// text and selection alone.
void SpokenTextView::mark(int32_t start, int32_t length) {
    QPlainTextEdit* window = inputWindow();
    if (window == nullptr || start < 0 || length < 0) {
        return;
    }
    const EchoState& echo = m_requests.echo();
    const SpeechRequests::Kind kind = m_requests.kind();
    if (kind == SpeechRequests::Kind::None || kind == SpeechRequests::Kind::About ||
        (kind == SpeechRequests::Kind::Generate && !echo.pieceShown)) {
        return;
    }
    if (!echo.pieceShown) {
        const int first = m_requests.windowOffset() + start;
        showSelection(*window, first, first + length);
        return;
    }
    const auto begin = static_cast<std::size_t>(start);
    const std::size_t pieceLength = echo.windowPositions.size();
    if (begin < echo.pieceStart || begin >= echo.pieceStart + pieceLength) {
        showSelection(*window, 0, 0);
        return;
    }
    const std::size_t end = begin + static_cast<std::size_t>(length);
    const int shownLength = static_cast<int>(std::strlen(m_requests.blocks().echoLine()));
    const int first = echo.windowPositions[begin - echo.pieceStart];
    const int last = end - echo.pieceStart < pieceLength
                         ? echo.windowPositions[end - echo.pieceStart]
                         : shownLength;
    showSelection(*window, first, last);
}

void SpokenTextView::showText(QPlainTextEdit& window, const QString& text) {
    if (!coalescing()) {
        window.setPlainText(text);
        return;
    }
    m_pending.text = text;
    m_pending.selection.reset();
    refreshLater();
}

void SpokenTextView::showSelection(QPlainTextEdit& window, int first, int last) {
    if (!coalescing()) {
        select(window, first, last);
        return;
    }
    m_pending.selection = {first, last};
    refreshLater();
}

bool SpokenTextView::coalescing() const {
    return m_requests.kind() == SpeechRequests::Kind::Generate;
}

void SpokenTextView::refreshLater() {
    const auto since = m_program.session.now() - m_lastRefresh;
    if (since >= kGenerationRefresh) {
        applyPendingView();
    } else if (!m_refreshTimer.isActive()) {
        m_refreshTimer.start(
            std::chrono::ceil<std::chrono::milliseconds>(kGenerationRefresh - since));
    }
}

// An update that comes after its generation has ended is dropped: the window shows the user's
// own text again by then.
void SpokenTextView::applyPendingView() {
    m_refreshTimer.stop();
    m_lastRefresh = m_program.session.now();
    const PendingView pending = std::exchange(m_pending, {});
    QPlainTextEdit* window = inputWindow();
    if (window == nullptr || !coalescing()) {
        return;
    }
    if (pending.text) {
        window->setPlainText(*pending.text);
    }
    if (pending.selection) {
        select(*window, pending.selection->first, pending.selection->second);
    }
}

}  // namespace speech
