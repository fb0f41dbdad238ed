#include "platform/dialogtemplate.h"

#include "platform/windowplacement.h"

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
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <map>

namespace platform {
namespace {

constexpr int kAlphabetLength = 52;
// Template heights of at least two lines of text get labels that wrap.
constexpr int kTwoLines = 16;
// Where each item's widget keeps the index of its template item.
constexpr char kTemplateIndex[] = "templateIndex";

int scaled(int units, double base, int divisor) {
    return static_cast<int>(std::lround(units * base / divisor));
}

QWidget* createItem(const DialogItem& item, QWidget* parent) {
    switch (item.kind) {
        case DialogItemKind::Label: {
            auto* label = new QLabel(item.text, parent);
            label->setWordWrap(item.height >= kTwoLines);
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

// The width in pixels that the item's text needs on one line; 0 when it has none or wraps.
int widthForText(const QWidget& widget) {
    const QFontMetrics metrics(widget.font());
    const QStyle& style = *widget.style();
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        if (label->wordWrap() || label->text().isEmpty()) {
            return 0;
        }
        // Measured as the label lays its text out, mnemonic markers and all.
        const int flags = label->textFormat() == Qt::PlainText ? 0 : Qt::TextShowMnemonic;
        const int margins = label->contentsMargins().left() + label->contentsMargins().right();
        return metrics.size(flags, label->text()).width() + margins + 2 * label->margin();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        const int edges = style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                          2 * style.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button) +
                          2 * style.pixelMetric(QStyle::PM_ButtonDefaultIndicator, nullptr, button);
        return metrics.size(Qt::TextShowMnemonic, button->text()).width() + edges;
    }
    if (const auto* choice = qobject_cast<const QAbstractButton*>(&widget)) {
        return choice->sizeHint().width();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(&widget)) {
        return frame->title().isEmpty()
                   ? 0
                   : metrics.size(Qt::TextShowMnemonic, frame->title()).width() +
                         4 * metrics.averageCharWidth();
    }
    return 0;
}

// The items' widgets in template order, each with its template item.
std::vector<std::pair<const DialogItem*, QWidget*>> itemWidgets(
    QDialog& dialog, const DialogTemplate& dialogTemplate) {
    std::vector<std::pair<const DialogItem*, QWidget*>> widgets;
    for (QWidget* widget : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        bool known = false;
        const int index = widget->property(kTemplateIndex).toInt(&known);
        if (known && index >= 0 && static_cast<std::size_t>(index) < dialogTemplate.items.size()) {
            widgets.emplace_back(&dialogTemplate.items[static_cast<std::size_t>(index)], widget);
        }
    }
    return widgets;
}

// How much wider than the font's average character the units must be for every text to fit.
double widthScaleForTexts(const std::vector<std::pair<const DialogItem*, QWidget*>>& widgets,
                          const DialogUnits& units) {
    double scale = 1.0;
    for (const auto& [item, widget] : widgets) {
        const int available = units.toPixelsX(item->width);
        const int needed = widthForText(*widget);
        if (needed > 0 && available > 0) {
            scale = std::max(scale, (needed + 1.0) / available);
        }
    }
    return scale;
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

void DialogUnits::widen(double scale) {
    m_baseX *= std::max(1.0, scale);
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
    for (std::size_t index = 0; index < dialogTemplate.items.size(); ++index) {
        const DialogItem& item = dialogTemplate.items[index];
        QWidget* widget = createItem(item, dialog.get());
        widget->setObjectName(QStringLiteral("item%1").arg(item.id));
        widget->setProperty(kTemplateIndex, static_cast<int>(index));
    }
    groupRadioButtons(dialogTemplate, *dialog);
    connectMnemonics(dialogTemplate, *dialog);
    layOutDialog(*dialog, dialogTemplate);
    return dialog;
}

void layOutDialog(QDialog& dialog, const DialogTemplate& dialogTemplate) {
    const auto widgets = itemWidgets(dialog, dialogTemplate);
    DialogUnits units(dialog);
    units.widen(widthScaleForTexts(widgets, units));
    dialog.setFixedSize(std::max(units.toPixelsX(dialogTemplate.width), widthForCaption(dialog)),
                        units.toPixelsY(dialogTemplate.height));
    for (const auto& [item, widget] : widgets) {
        QRect rect = pixelRect(units, *item);
        if (item->kind == DialogItemKind::ComboBox) {
            // The template's height includes the drop-down list; the box itself is one line.
            rect.setHeight(widget->sizeHint().height());
        }
        widget->setGeometry(rect);
    }
}

QWidget* findItem(QDialog& dialog, int id) {
    return dialog.findChild<QWidget*>(QStringLiteral("item%1").arg(id), Qt::FindDirectChildrenOnly);
}

}  // namespace platform
