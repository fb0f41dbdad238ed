#include "platform/dialogtemplate.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cmath>
#include <map>

namespace platform {
namespace {

constexpr int kAlphabetLength = 52;

int scaled(int units, int base, int divisor) {
    return static_cast<int>(std::lround(static_cast<double>(units) * base / divisor));
}

QWidget* createItem(const DialogItem& item, QWidget* parent) {
    switch (item.kind) {
        case DialogItemKind::Label: {
            auto* label = new QLabel(item.text, parent);
            label->setWordWrap(true);
            return label;
        }
        case DialogItemKind::Frame:
            return new QGroupBox(item.text, parent);
        case DialogItemKind::PushButton:
            return new QPushButton(item.text, parent);
        case DialogItemKind::DefaultPushButton: {
            auto* button = new QPushButton(item.text, parent);
            button->setDefault(true);
            return button;
        }
        case DialogItemKind::CheckBox:
            return new QCheckBox(item.text, parent);
        case DialogItemKind::RadioButton:
            return new QRadioButton(item.text, parent);
        case DialogItemKind::Edit:
            return new QLineEdit(item.text, parent);
        case DialogItemKind::ListBox:
            return new QListWidget(parent);
        case DialogItemKind::ComboBox:
            return new QComboBox(parent);
        case DialogItemKind::Picture:
            break;
    }
    return new QLabel(parent);
}

QRect pixelRect(const DialogUnits& units, const DialogItem& item) {
    return QRect(units.toPixelsX(item.x), units.toPixelsY(item.y), units.toPixelsX(item.width),
                 units.toPixelsY(item.height));
}

// The id of the smallest frame that encloses the item, -1 when none does.
int enclosingFrame(const DialogTemplate& dialogTemplate, const DialogItem& item) {
    int best = -1;
    long bestArea = 0;
    const QRect rect(item.x, item.y, item.width, item.height);
    for (const DialogItem& frame : dialogTemplate.items) {
        const QRect frameRect(frame.x, frame.y, frame.width, frame.height);
        const long area = static_cast<long>(frame.width) * frame.height;
        if (frame.kind == DialogItemKind::Frame && frameRect.contains(rect) &&
            (best == -1 || area < bestArea)) {
            best = frame.id;
            bestArea = area;
        }
    }
    return best;
}

// Radio buttons inside one frame form one exclusive group, as they do in dialog resources.
void groupRadioButtons(const DialogTemplate& dialogTemplate, QDialog& dialog) {
    std::map<int, QButtonGroup*> groups;
    for (const DialogItem& item : dialogTemplate.items) {
        if (item.kind != DialogItemKind::RadioButton) {
            continue;
        }
        QButtonGroup*& group = groups[enclosingFrame(dialogTemplate, item)];
        if (group == nullptr) {
            group = new QButtonGroup(&dialog);
        }
        group->addButton(static_cast<QRadioButton*>(findItem(dialog, item.id)), item.id);
    }
}

bool hasMnemonic(QString text) {
    return text.remove(QStringLiteral("&&")).contains(QLatin1Char('&'));
}

bool takesFocus(DialogItemKind kind) {
    return kind != DialogItemKind::Label && kind != DialogItemKind::Frame &&
           kind != DialogItemKind::Picture;
}

// A label's mnemonic moves the focus to the next item that takes it, as in dialog resources.
void connectMnemonics(const DialogTemplate& dialogTemplate, QDialog& dialog) {
    const std::vector<DialogItem>& items = dialogTemplate.items;
    for (auto label = items.begin(); label != items.end(); ++label) {
        if (label->kind != DialogItemKind::Label || !hasMnemonic(label->text)) {
            continue;
        }
        const auto buddy = std::find_if(
            label + 1, items.end(), [](const DialogItem& item) { return takesFocus(item.kind); });
        if (buddy != items.end()) {
            static_cast<QLabel*>(findItem(dialog, label->id))
                ->setBuddy(findItem(dialog, buddy->id));
        }
    }
}

}  // namespace

DialogUnits::DialogUnits(const QWidget& dialog) {
    const QFontMetrics metrics(dialog.font());
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = std::max(1, scaled(metrics.horizontalAdvance(alphabet), 1, kAlphabetLength));
    m_baseY = std::max(1, metrics.height());
}

int DialogUnits::toPixelsX(int units) const {
    return scaled(units, m_baseX, 4);
}

int DialogUnits::toPixelsY(int units) const {
    return scaled(units, m_baseY, 8);
}

std::unique_ptr<QDialog> buildDialog(const DialogTemplate& dialogTemplate, QWidget* parent) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setModal(true);
    dialog->setWindowTitle(dialogTemplate.caption);
    dialog->setObjectName(QStringLiteral("dialog%1").arg(dialogTemplate.id));
    const DialogUnits units(*dialog);
    dialog->setFixedSize(units.toPixelsX(dialogTemplate.width),
                         units.toPixelsY(dialogTemplate.height));
    for (const DialogItem& item : dialogTemplate.items) {
        QWidget* widget = createItem(item, dialog.get());
        widget->setObjectName(QStringLiteral("item%1").arg(item.id));
        QRect rect = pixelRect(units, item);
        if (item.kind == DialogItemKind::ComboBox) {
            // The template's height includes the drop-down list; the box itself is one line.
            rect.setHeight(widget->sizeHint().height());
        }
        widget->setGeometry(rect);
    }
    groupRadioButtons(dialogTemplate, *dialog);
    connectMnemonics(dialogTemplate, *dialog);
    return dialog;
}

QWidget* findItem(QDialog& dialog, int id) {
    return dialog.findChild<QWidget*>(QStringLiteral("item%1").arg(id), Qt::FindDirectChildrenOnly);
}

}  // namespace platform
