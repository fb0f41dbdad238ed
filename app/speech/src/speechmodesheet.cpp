#include "speech/speechmodesheet.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>

#include "context/programcontext.h"
#include "resources/dialogtemplates.h"

namespace speech {
namespace {

// One page of the sheet: its radio buttons and the program's choice they stand for.
struct ModePage {
    QDialog* page;
    int firstButton;
    int buttonCount;
    int32_t& choice;

    QRadioButton* button(int index) const {
        return qobject_cast<QRadioButton*>(platform::findItem(*page, firstButton + index));
    }
    void show() const {
        if (QRadioButton* on = button(choice)) {
            on->setChecked(true);
        }
    }
    // Every button that is on sets the choice to its index.
    void take() const {
        for (int index = 0; index < buttonCount; ++index) {
            if (button(index) != nullptr && button(index)->isChecked()) {
                choice = index;
            }
        }
    }
};

// Hands Escape and Return that reach a page to the sheet: the pages are built as dialogs, but
// in a sheet Escape is Cancel and Return is OK for the whole sheet.
class SheetKeys : public QObject {
  public:
    explicit SheetKeys(QDialog& sheet) : QObject(&sheet), m_sheet(sheet) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
            return false;
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == &m_sheet ||
            (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter)) {
            return false;
        }
        if (event->type() == QEvent::KeyPress) {
            QCoreApplication::sendEvent(&m_sheet, event);
        }
        return true;
    }

  private:
    QDialog& m_sheet;
};

// The sheet's dialog: the tabbed pages over OK and Cancel.
class SpeechModeSheet : public QDialog {
  public:
    SpeechModeSheet(context::SpeechChoices& choices, QWidget* owner)
        : QDialog(owner),
          m_pages{ModePage{addPage(resources::speechModePageTemplate(), tr("Speech Mode")),
                           resources::kFirstSpeechModeButton, 3, choices.speechModeChoice},
                  ModePage{addPage(resources::interruptPageTemplate(), tr("Interrupt")),
                           resources::kFirstInterruptButton, 2, choices.interruptChoice}} {
        setWindowTitle(QStringLiteral("Set System Speech Mode"));
        for (const ModePage& page : m_pages) {
            page.show();
        }
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] {
            m_pages[static_cast<std::size_t>(m_tabs->currentIndex())].take();
            accept();
        });
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(m_tabs, &QTabWidget::currentChanged, this, [this](int shown) {
            m_pages[static_cast<std::size_t>(m_showing)].take();
            m_showing = shown;
        });
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_tabs);
        layout->addWidget(buttons);
    }

  private:
    QDialog* addPage(const platform::DialogTemplate& pageTemplate, const QString& title) {
        std::unique_ptr<QDialog> page = platform::buildDialog(pageTemplate, nullptr);
        page->setWindowFlags(Qt::Widget);
        page->installEventFilter(m_keys);
        QDialog* added = page.release();
        m_tabs->addTab(added, title);
        return added;
    }

    SheetKeys* m_keys = new SheetKeys(*this);
    QTabWidget* m_tabs = new QTabWidget(this);
    std::array<ModePage, 2> m_pages;
    int m_showing = 0;
};

}  // namespace

int32_t SpeechModeBits(int32_t speechModeChoice, int32_t interruptChoice) {
    constexpr std::array<int32_t, 3> kSpeechModes{0x01, 0x02, 0x04};
    int32_t bits = speechModeChoice >= 0 && speechModeChoice < 3
                       ? kSpeechModes[static_cast<std::size_t>(speechModeChoice)]
                       : 0;
    if (interruptChoice == 0) {
        bits |= 0x10;
    } else if (interruptChoice == 1) {
        bits |= 0x08;
    }
    return bits;
}

std::unique_ptr<QDialog> makeSpeechModeSheet(context::SpeechChoices& choices, QWidget* owner) {
    return std::make_unique<SpeechModeSheet>(choices, owner);
}

int ShowSpeechModeSheet(context::SpeechChoices& choices, const context::EngineSession& session,
                        QWidget* owner) {
    const int result = makeSpeechModeSheet(choices, owner)->exec();
    session.engine->EngineSetSystemMode(
        session.engineInstance, SpeechModeBits(choices.speechModeChoice, choices.interruptChoice));
    return result;
}

}  // namespace speech
