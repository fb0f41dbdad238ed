#include "platform/windowplacement.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace platform {
namespace {

QRect availableArea(const QWidget& window, const QWidget* owner) {
    const QScreen* screen = owner != nullptr ? owner->screen() : window.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

// What the window manager's frame adds around the window: as it is once the window is shown,
// a title bar's height above it before.
QMargins frameOf(const QWidget& window) {
    if (!window.isVisible()) {
        return QMargins(0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
    }
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

}  // namespace

void placeOnScreen(QWidget& window, QPoint wanted, const QWidget* owner) {
    const QRect area = availableArea(window, owner);
    if (area.isEmpty()) {
        window.move(wanted);
        return;
    }
    const QMargins frame = frameOf(window);
    const QSize room = area.size().shrunkBy(frame);
    const QSize size = window.size().boundedTo(room).expandedTo(window.minimumSize());
    if (size != window.size()) {
        window.resize(size);
    }
    const QSize outer = size.grownBy(frame);
    const int x = std::max(area.left(), std::min(wanted.x(), area.right() + 1 - outer.width()));
    const int y = std::max(area.top(), std::min(wanted.y(), area.bottom() + 1 - outer.height()));
    window.move(x, y);
}

void placeBeside(QWidget& window, const QWidget& owner) {
    const QRect area = availableArea(window, &owner);
    const QRect frame = owner.frameGeometry();
    const int gap = 8;
    const QPoint right(frame.right() + 1 + gap, frame.top());
    const QPoint left(frame.left() - gap - window.width(), frame.top());
    if (area.isEmpty() || right.x() + window.width() <= area.right() + 1) {
        placeOnScreen(window, right, &owner);
    } else if (left.x() >= area.left()) {
        placeOnScreen(window, left, &owner);
    } else {
        // No room on either side: the side with more room, on the screen.
        const bool rightIsWider = area.right() - frame.right() >= frame.left() - area.left();
        placeOnScreen(window, rightIsWider ? right : left, &owner);
    }
}

int widthForCaption(const QWidget& window) {
    // Window managers draw captions in a bold face of about the program's size, beside an icon
    // and up to three buttons of about a title bar's height each.
    constexpr int kFrameButtonsAndIcon = 4;
    QFont captionFont = window.font();
    captionFont.setBold(true);
    const int titleBarHeight = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return QFontMetrics(captionFont).horizontalAdvance(window.windowTitle()) +
           kFrameButtonsAndIcon * titleBarHeight;
}

}  // namespace platform
