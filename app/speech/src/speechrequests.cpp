#include "speech/speechrequests.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/codepage.h"
#include "common/textlimits.h"
#include "context/commandids.h"
#include "context/programcontext.h"
#include "engine/errorreport.h"
#include "speech/keyboardtext.h"
#include "speech/translatetext.h"

namespace speech {
namespace {

constexpr int32_t kNoClipboardData = 101;
constexpr int32_t kNoFileSelected = 102;
constexpr int32_t kNoKeyboardData = 103;
constexpr int32_t kMemoryAllocation = SAYMGR_EMEMORY_ALLOC;
constexpr std::size_t kKeyboardBlockSize = 5000;
constexpr std::size_t kAboutBlockSize = 1000;

std::size_t readUpTo(int fd, char* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = ::read(fd, buffer + done, size - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        done += static_cast<std::size_t>(count);
    }
    return done;
}

}  // namespace

SpeechRequests::SpeechRequests(context::ProgramContext& program, BlockAllocator& allocator)
    : m_program(program), m_blocks(allocator) {}

std::string_view SpeechRequests::sourceText() const {
    if (!m_blocks.allocated()) {
        return {};
    }
    return std::string_view(m_blocks.sourceText(), m_textLength);
}

void SpeechRequests::report(QWidget* owner, int32_t status) {
    if (status != 0) {
        engine::ReportError(*m_program.services.messages, owner, status);
    }
}

void SpeechRequests::sendVoiceParameters(QWidget* owner) {
    const context::AppState& state = m_program.appState;
    const int slot = state.Language - 1;
    if (slot < 0 || slot >= context::kLanguageSlots) {
        return;
    }
    const auto index = static_cast<std::size_t>(slot);
    report(owner, m_program.session.engine->EngineSetVoiceParameters(
                      m_program.session.engineInstance, 1, state.Volume[index],
                      state.Speaker[index], state.Rate[index], state.Pitch[index],
                      SAYMGR_VOICE_MODE_SPEAK, SAYMGR_VOICE_LAST_SPEAK));
}

void SpeechRequests::observeBegin(const PreparedText& prepared,
                                  std::chrono::steady_clock::time_point command) {
    if (m_program.session.speechObserver) {
        m_program.session.speechObserver->requestBegins(
            std::string_view(prepared.text, static_cast<std::size_t>(prepared.length)),
            prepared.textForm, command);
    }
}

void SpeechRequests::observeEnd(int32_t status) {
    if (m_program.session.speechObserver) {
        m_program.session.speechObserver->requestEnds(status);
    }
}

void SpeechRequests::begin(Kind kind) {
    m_kind = kind;
    m_echo = EchoState{};
    m_windowOffset = 0;
}

void SpeechRequests::SpeakCurrentSource(QWidget* owner) {
    const auto command = m_program.session.now();
    begin(Kind::Speak);
    m_program.hooks.hookTargetWindow = owner;
    sendVoiceParameters(owner);
    PreparedText prepared;
    if (prepareSource(owner, prepared) != 0) {
        return;
    }
    int32_t unused = 0;
    observeBegin(prepared, command);
    const int32_t status =
        m_program.session.engine->EngineSpeak(m_program.session.engineInstance, 1, prepared.text,
                                              prepared.length, prepared.textForm, &unused);
    observeEnd(status);
    report(owner, status);
}

int32_t SpeechRequests::GenerateFileFromSource(QWidget* owner, const std::string& path,
                                               int32_t format, int32_t extra) {
    const auto command = m_program.session.now();
    begin(Kind::Generate);
    PreparedText prepared;
    int32_t status = prepareSource(owner, prepared);
    if (status == 0) {
        int32_t unused = 0;
        observeBegin(prepared, command);
        status = m_program.session.engine->EngineSpeakToFile(
            m_program.session.engineInstance, prepared.text, prepared.length, path.c_str(), format,
            prepared.textForm, extra, &unused);
        observeEnd(status);
        report(owner, status);
    }
    EndSpeakRequest();
    return status;
}

int32_t SpeechRequests::prepareSource(QWidget* owner, PreparedText& prepared) {
    m_requestSource = m_program.appState.PlayMode;
    switch (m_requestSource) {
        case context::IDM_SOURCECLIPBOARD:
            if (ReadClipboardText(owner) != 0) {
                return -1;
            }
            prepared = translatedBlocks(1);
            return 0;
        case context::IDM_SOURCEKEYBOARD:
            return readInputWindow(owner, prepared);
        default:
            return readTextFile(owner, prepared);
    }
}

SpeechRequests::PreparedText SpeechRequests::translatedBlocks(int32_t textForm) {
    const char* text = m_blocks.speakText();
    return PreparedText{text, static_cast<int32_t>(::strnlen(text, m_blocks.size())), textForm};
}

int32_t SpeechRequests::readTextFile(QWidget* owner, PreparedText& prepared) {
    const std::string& path = m_program.appState.textFilePath;
    std::size_t size = 0;
    if (!path.empty()) {
        m_textFile = common::openRegularFile(path, &size);
    }
    if (!m_textFile.valid()) {
        report(owner, kNoFileSelected);
        return kNoFileSelected;
    }
    if (size > common::kMaxTextBytes) {
        report(owner, kMemoryAllocation);
    }
    if (size > common::kMaxTextBytes ||
        m_blocks.AllocTextBlocks(*m_program.services.messages, owner, size + 10) != 0) {
        report(owner, kMemoryAllocation);
        return kMemoryAllocation;
    }
    m_textLength = readUpTo(m_textFile.get(), m_blocks.sourceText(), size);
    const int32_t fileType = m_program.appState.FileType;
    TranslateText(m_blocks.sourceText(), m_blocks.speakText(), m_textLength, fileType == 1);
    prepared = translatedBlocks(fileType);
    return 0;
}

int32_t SpeechRequests::ReadClipboardText(QWidget* owner) {
    const std::optional<std::string> text =
        m_program.services.clipboard ? m_program.services.clipboard->ansiText() : std::nullopt;
    if (!text) {
        return -1;
    }
    if (text->empty()) {
        report(owner, kNoClipboardData);
        return -1;
    }
    if (text->size() > common::kMaxTextBytes) {
        report(owner, kMemoryAllocation);
        return -1;
    }
    return fill(owner, *text, text->size() + 1, true) ? 0 : -1;
}

int32_t SpeechRequests::readInputWindow(QWidget* owner, PreparedText& prepared) {
    auto* input = qobject_cast<QPlainTextEdit*>(m_program.controls.inputWindow.data());
    if (input == nullptr) {
        return -1;
    }
    const QString text = input->toPlainText();
    const std::size_t blockSize = std::max(kKeyboardBlockSize, std::size_t(text.size()) * 2 + 1);
    if (m_blocks.AllocTextBlocks(*m_program.services.messages, owner, blockSize) != 0) {
        return -1;
    }
    const QTextCursor cursor = input->textCursor();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    storeSelection(m_program);
    if (text.isEmpty()) {
        report(owner, kNoKeyboardData);
        return kNoKeyboardData;
    }
    const QString spoken = end > start ? text.mid(start, end - start) : text;
    m_windowOffset = end > start ? start : 0;
    fill(owner, common::utf8ToAnsi(spoken.toStdString()), m_blocks.size(), true);
    prepared = translatedBlocks(1);
    return 0;
}

bool SpeechRequests::fill(QWidget* owner, std::string_view text, std::size_t blockSize, bool ansi) {
    if (!m_blocks.allocated() &&
        m_blocks.AllocTextBlocks(*m_program.services.messages, owner, blockSize) != 0) {
        return false;
    }
    m_textLength = std::min(text.size(), m_blocks.size() - 1);
    std::memcpy(m_blocks.sourceText(), text.data(), m_textLength);
    TranslateText(m_blocks.sourceText(), m_blocks.speakText(), m_textLength, ansi);
    return true;
}

void SpeechRequests::EndSpeakRequest() {
    m_textFile.close();  // only a File request opened one
    m_blocks.FreeTextBlocks();
    m_textLength = 0;
    m_kind = Kind::None;
}

int32_t SpeechRequests::SpeakAboutText(QWidget* owner) {
    const auto command = m_program.session.now();
    context::AppState& state = m_program.appState;
    const int32_t textOut = state.TextOut;
    state.TextOut = 0;
    begin(Kind::About);
    sendVoiceParameters(owner);
    int32_t status = -1;
    if (m_blocks.AllocTextBlocks(*m_program.services.messages, owner, kAboutBlockSize) == 0) {
        m_program.session.engine->EngineGetAboutText(m_program.session.engineInstance,
                                                     m_blocks.sourceText());
        m_blocks.sourceText()[kAboutBlockSize - 1] = '\0';
        m_textLength = ::strnlen(m_blocks.sourceText(), kAboutBlockSize);
        TranslateText(m_blocks.sourceText(), m_blocks.speakText(), m_textLength, true);
        int32_t unused = 0;
        const PreparedText prepared{m_blocks.speakText(), static_cast<int32_t>(m_textLength), 1};
        observeBegin(prepared, command);
        status = m_program.session.engine->EngineSpeak(m_program.session.engineInstance, 1,
                                                       prepared.text, prepared.length, 1, &unused);
        observeEnd(status);
        report(owner, status);
    }
    state.TextOut = textOut;
    m_blocks.FreeTextBlocks();
    m_textLength = 0;
    m_kind = Kind::None;
    return status;
}

}  // namespace speech
