#include "speech/pcmgeneration.h"

#include <QDialog>
#include <QDir>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextCursor>
#include <array>

#include "context/commandids.h"
#include "context/programcontext.h"
#include "platform/postedmessage.h"
#include "resources/dialogtemplates.h"
#include "speech/speechrequests.h"

namespace speech {
namespace {

constexpr std::array kFormats{
    PcmFormat{0, "Generate 16 bit Linear PCM File", "Linear PCM (*.lin)", "Sample16.lin"},
    PcmFormat{1, "Generate Mu-Law PCM File", "Mu-Law PCM (*.pcm)", "SampleMu.pcm"},
    PcmFormat{2, "Generate A-Law PCM File", "A-Law PCM (*.pcm)", "SampleA.pcm"},
    PcmFormat{3, "Generate 8 bit Wave File", "Wave Format (*.wav)", "sample8.wav"},
    PcmFormat{4, "Generate 16 bit Wave File", "Wave Format (*.wav)", "sample16.wav"},
};

// Closes the progress dialog when the main window says the generation has returned, and
// tells it to stop the engine when the user cancels (the Cancel button, Escape or the close
// box).
class ProgressConversation : public QObject {
  public:
    ProgressConversation(QDialog& dialog, QWidget* mainWindow)
        : m_dialog(dialog), m_mainWindow(mainWindow) {
        dialog.installEventFilter(this);
        QObject::connect(&dialog, &QDialog::rejected, this, [this] {
            platform::postMessage(m_mainWindow, context::UM_STOPENGINE,
                                  reinterpret_cast<intptr_t>(&m_dialog));
        });
        if (auto* cancel = qobject_cast<QPushButton*>(
                platform::findItem(dialog, resources::kGenerationCancel))) {
            QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
        }
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_dialog && static_cast<int>(event->type()) == context::UM_GENPCMDONE) {
            platform::postMessage(m_mainWindow, context::UM_GENPCMIDLE);
            m_dialog.accept();
            return true;
        }
        return false;
    }

  private:
    QDialog& m_dialog;
    QWidget* m_mainWindow;
};

// Keeps what the input window shows across a generation, whose echo writes into it: the
// user's text, selection and enabled state come back when the generation returns.
class InputWindowKeeper {
  public:
    explicit InputWindowKeeper(QPlainTextEdit* window) : m_window(window) {
        if (m_window) {
            m_text = m_window->toPlainText();
            const QTextCursor cursor = m_window->textCursor();
            m_anchor = cursor.anchor();
            m_position = cursor.position();
            m_enabled = m_window->isEnabled();
        }
    }
    ~InputWindowKeeper() {
        if (!m_window) {
            return;
        }
        if (m_window->toPlainText() != m_text) {
            m_window->setPlainText(m_text);
        }
        QTextCursor cursor = m_window->textCursor();
        cursor.setPosition(m_anchor);
        cursor.setPosition(m_position, QTextCursor::KeepAnchor);
        m_window->setTextCursor(cursor);
        m_window->setEnabled(m_enabled);
    }
    InputWindowKeeper(const InputWindowKeeper&) = delete;
    InputWindowKeeper& operator=(const InputWindowKeeper&) = delete;

  private:
    QPointer<QPlainTextEdit> m_window;
    QString m_text;
    int m_anchor = 0;
    int m_position = 0;
    bool m_enabled = false;
};

}  // namespace

const PcmFormat& pcmFormatOf(int32_t code) {
    for (const PcmFormat& format : kFormats) {
        if (format.code == code) {
            return format;
        }
    }
    return kFormats[0];
}

std::optional<std::string> ChoosePcmFile(context::ProgramContext& program, QWidget* owner,
                                         int32_t format) {
    const PcmFormat& chosen = pcmFormatOf(format);
    const QString proposed = QDir::current().filePath(QString::fromLatin1(chosen.defaultName));
    const std::optional<QString> path = program.services.fileDialogs->saveFile(
        owner, QString::fromLatin1(chosen.title), proposed,
        QString::fromLatin1(chosen.filter) + QStringLiteral(";;all Files (*.*)"));
    if (!path) {
        return std::nullopt;
    }
    return path->toStdString();
}

PcmGeneration::PcmGeneration(context::ProgramContext& program, SpeechRequests& requests)
    : m_program(program), m_requests(requests) {}

void PcmGeneration::onGenerateCommand(QWidget* mainWindow, int32_t format) {
    const std::optional<std::string> path = ChoosePcmFile(m_program, mainWindow, format);
    if (!path) {
        return;
    }
    m_pcmPath = *path;
    m_pcmFormat = format;
    runProgressDialog(mainWindow);
}

void PcmGeneration::runProgressDialog(QWidget* mainWindow) {
    const std::unique_ptr<QDialog> dialog =
        platform::buildDialog(resources::generationProgressTemplate(), mainWindow);
    ProgressConversation conversation(*dialog, mainWindow);
    platform::postMessage(mainWindow, context::UM_GENPCM, reinterpret_cast<intptr_t>(dialog.get()));
    dialog->exec();
}

int32_t PcmGeneration::onGeneratePcm() {
    const InputWindowKeeper keeper(
        qobject_cast<QPlainTextEdit*>(m_program.controls.inputWindow.data()));
    return m_requests.GenerateFileFromSource(nullptr, m_pcmPath, m_pcmFormat, 0);
}

}  // namespace speech
