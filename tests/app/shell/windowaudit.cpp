#include "windowaudit.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextDocument>
#include <set>

#include "platform/windowplacement.h"

namespace shelltest {
namespace {

// Controls the user can reach with Tab: shown, enabled, taking the focus by Tab themselves.
bool takesTabFocus(const QWidget& widget, const QWidget& window) {
    return widget.isVisibleTo(&window) && widget.isEnabled() &&
           (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget.focusProxy() == nullptr;
}

std::vector<QWidget*> tabControls(QWidget& window) {
    std::vector<QWidget*> controls;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (takesTabFocus(*widget, window)) {
            controls.push_back(widget);
        }
    }
    return controls;
}

// The control that stands for `widget` in the tab order: the checked button of an exclusive
// group (Tab enters a group once, the arrows move within it), else the widget itself.
const QWidget* tabStop(const QWidget* widget) {
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    if (button != nullptr && button->group() != nullptr && button->group()->exclusive()) {
        return button->group()->buttons().constFirst();
    }
    if (button != nullptr && button->autoExclusive() && button->parentWidget() != nullptr) {
        return button->parentWidget();
    }
    return widget;
}

QString describe(const QWidget& control) {
    QString text;
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        text = button->text();
    } else if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        text = label->text();
    } else if (const auto* frame = qobject_cast<const QGroupBox*>(&control)) {
        text = frame->title();
    }
    const QString kind = QString::fromLatin1(control.metaObject()->className());
    return text.isEmpty() ? QStringLiteral("%1 %2").arg(kind, control.objectName())
                          : QStringLiteral("%1 \"%2\"").arg(kind, text.left(40));
}

// The size a text needs in the control's font, mnemonic markers taken out.
QSize textSize(const QWidget& control, const QString& text, bool mnemonics) {
    return QFontMetrics(control.font())
        .size(mnemonics ? Qt::TextShowMnemonic : Qt::TextSingleLine, text);
}

// Where a push button, check box or radio button draws its text.
QRect buttonTextRect(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(&button) != nullptr) {
        element = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<const QRadioButton*>(&button) != nullptr) {
        element = QStyle::SE_RadioButtonContents;
    } else if (static_cast<const QPushButton&>(button).isDefault()) {
        option.features |= QStyleOptionButton::DefaultButton;
    }
    return button.style()->subElementRect(element, &option, &button);
}

bool labelFits(const QLabel& label) {
    if (label.wordWrap()) {
        return label.heightForWidth(label.width()) <= label.height();
    }
    const bool rich = label.textFormat() == Qt::RichText ||
                      (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
    QSize needed;
    if (rich) {
        QTextDocument document;
        document.setDefaultFont(label.font());
        document.setDocumentMargin(0);
        document.setHtml(label.text());
        needed = document.size().toSize();
    } else {
        needed = textSize(label, label.text(), label.textFormat() != Qt::PlainText);
    }
    const QRect room = label.contentsRect();
    return needed.width() <= room.width() && needed.height() <= room.height();
}

bool buttonFits(const QAbstractButton& button) {
    const QRect room = buttonTextRect(button);
    const QSize needed = textSize(button, button.text(), true);
    return needed.width() <= room.width() && needed.height() <= room.height();
}

bool frameTitleFits(const QGroupBox& frame) {
    const QSize needed = textSize(frame, frame.title(), true);
    const QFontMetrics metrics(frame.font());
    return needed.width() + 2 * metrics.averageCharWidth() <= frame.width();
}

// What the control looks like now, as the user sees it.
QImage look(QWidget& control) {
    QCoreApplication::processEvents();
    return control.grab().toImage();
}

}  // namespace

WindowAudit::WindowAudit(QWidget& window, QString name)
    : m_window(window), m_name(std::move(name)) {}

QStringList WindowAudit::findings() {
    m_findings.clear();
    saveScreenshot();
    checkTexts();
    checkAccessibleNames();
    checkOnScreen();
    checkCaption();
    checkTabReachesEveryControl();
    checkFocusIsShown();
    return m_findings;
}

void WindowAudit::report(const QWidget& control, const QString& fault) {
    m_findings << QStringLiteral("%1: %2: %3").arg(m_name, describe(control), fault);
}

void WindowAudit::checkTexts() {
    for (const QLabel* label : m_window.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&m_window) && !label->text().isEmpty() && !labelFits(*label)) {
            report(*label, QStringLiteral("text cut"));
        }
    }
    for (const QAbstractButton* button : m_window.findChildren<QAbstractButton*>()) {
        const bool drawsText = qobject_cast<const QPushButton*>(button) != nullptr ||
                               qobject_cast<const QCheckBox*>(button) != nullptr ||
                               qobject_cast<const QRadioButton*>(button) != nullptr;
        if (drawsText && button->isVisibleTo(&m_window) && !button->text().isEmpty() &&
            !buttonFits(*button)) {
            report(*button, QStringLiteral("text cut"));
        }
    }
    for (const QGroupBox* frame : m_window.findChildren<QGroupBox*>()) {
        if (frame->isVisibleTo(&m_window) && !frame->title().isEmpty() && !frameTitleFits(*frame)) {
            report(*frame, QStringLiteral("title cut"));
        }
    }
}

void WindowAudit::checkAccessibleNames() {
    std::vector<QWidget*> named = tabControls(m_window);
    for (QWidget* widget : m_window.findChildren<QWidget*>()) {
        if (widget->isVisibleTo(&m_window) && (qobject_cast<QSlider*>(widget) != nullptr ||
                                               qobject_cast<QAbstractButton*>(widget) != nullptr)) {
            named.push_back(widget);
        }
    }
    for (QWidget* control : named) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        if (accessible == nullptr || accessible->text(QAccessible::Name).trimmed().isEmpty()) {
            report(*control, QStringLiteral("no accessible name"));
        }
    }
}

void WindowAudit::checkOnScreen() {
    const QScreen* screen = m_window.screen();
    if (screen != nullptr && !screen->availableGeometry().contains(m_window.frameGeometry())) {
        m_findings << QStringLiteral("%1: window off the screen").arg(m_name);
    }
    if (const QScreen* primary = QGuiApplication::primaryScreen();
        primary != nullptr && m_window.width() > primary->availableGeometry().width()) {
        m_findings << QStringLiteral("%1: window wider than the screen").arg(m_name);
    }
}

void WindowAudit::checkCaption() {
    if (m_window.width() < platform::widthForCaption(m_window)) {
        m_findings << QStringLiteral("%1: caption cut").arg(m_name);
    }
}

void WindowAudit::checkTabReachesEveryControl() {
    const std::vector<QWidget*> controls = tabControls(m_window);
    if (controls.empty()) {
        return;
    }
    m_window.activateWindow();
    if (!QTest::qWaitForWindowActive(&m_window)) {
        m_findings << QStringLiteral("%1: window never became active").arg(m_name);
        return;
    }
    // A window just activated may get its focus widget a moment later on a busy machine.
    const auto focusedHere = [this] {
        const QWidget* focused = QApplication::focusWidget();
        return focused != nullptr && focused->window() == &m_window;
    };
    if (!QTest::qWaitFor(focusedHere, 1000)) {
        controls.front()->setFocus(Qt::TabFocusReason);
    }
    std::set<const QWidget*> reached;
    const QWidget* start = QApplication::focusWidget();
    for (std::size_t press = 0; press <= 2 * controls.size(); ++press) {
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr || focused->window() != &m_window) {
            break;
        }
        reached.insert(tabStop(focused));
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    for (const QWidget* control : controls) {
        if (!reached.contains(tabStop(control))) {
            report(*control, QStringLiteral("never reached with Tab"));
        }
    }
    if (start != nullptr && QApplication::focusWidget() != nullptr) {
        const_cast<QWidget*>(start)->setFocus(Qt::OtherFocusReason);
    }
}

void WindowAudit::checkFocusIsShown() {
    QWidget* restore = QApplication::focusWidget();
    for (QWidget* control : tabControls(m_window)) {
        control->setFocus(Qt::TabFocusReason);
        if (!control->hasFocus()) {
            continue;  // the window is not active; the Tab check has said so
        }
        const QImage focused = look(*control);
        control->clearFocus();
        const QImage unfocused = look(*control);
        if (focused == unfocused) {
            report(*control, QStringLiteral("shows no focus"));
        }
    }
    if (restore != nullptr) {
        restore->setFocus(Qt::OtherFocusReason);
    }
}

void WindowAudit::saveScreenshot() const {
    QString folder = qEnvironmentVariable("VOXTRIAL_AUDIT_OUTPUT");
    if (folder.isEmpty()) {
        folder = QDir::temp().filePath(QStringLiteral("voxtrial-window-audit"));
    }
    QDir().mkpath(folder);
    QString file = m_name;
    file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
    m_window.grab().save(QDir(folder).filePath(file.toLower() + QStringLiteral(".png")));
}

}  // namespace shelltest
