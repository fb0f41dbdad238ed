#include "resources/buttonpictures.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

namespace resources {

namespace {

enum class Symbol { Speak, Stop, Pause };
enum class Look { Active, Inactive, Sunken };

QPainterPath symbolPath(Symbol symbol) {
    QPainterPath path;
    switch (symbol) {
        case Symbol::Speak:
            path.moveTo(19, 6);
            path.lineTo(31, 12.5);
            path.lineTo(19, 19);
            path.closeSubpath();
            break;
        case Symbol::Stop:
            path.addRect(18, 7, 12, 11);
            break;
        case Symbol::Pause:
            path.addRect(18, 6, 4, 13);
            path.addRect(26, 6, 4, 13);
            break;
    }
    return path;
}

void drawFace(QPainter& painter, const QRect& face, bool sunken) {
    painter.fillRect(face, QColor(192, 192, 192));
    const QColor light = sunken ? QColor(64, 64, 64) : Qt::white;
    const QColor dark = sunken ? Qt::white : QColor(64, 64, 64);
    painter.setPen(light);
    painter.drawLine(0, 0, face.right(), 0);
    painter.drawLine(0, 0, 0, face.bottom());
    painter.setPen(dark);
    painter.drawLine(0, face.bottom(), face.right(), face.bottom());
    painter.drawLine(face.right(), 0, face.right(), face.bottom());
}

QPixmap drawPicture(Symbol symbol, Look look) {
    QPixmap picture(kButtonPictureWidth, kButtonPictureHeight);
    QPainter painter(&picture);
    drawFace(painter, picture.rect(), look == Look::Sunken);
    const QPainterPath path = symbolPath(symbol);
    if (look == Look::Inactive) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(Qt::white);
        painter.drawPath(path.translated(1, 1));
        painter.setPen(QColor(128, 128, 128));
        painter.drawPath(path);
    } else {
        const QPointF shift = look == Look::Sunken ? QPointF(1, 1) : QPointF(0, 0);
        painter.fillPath(path.translated(shift), Qt::black);
    }
    return picture;
}

enum class Move { Load, Unload };

// An arrow at the picture's left, pointing up for Load and down for Unload, and the word.
QPainterPath movePath(Move move) {
    QPainterPath arrow;
    arrow.moveTo(16, 4);
    arrow.lineTo(23, 11);
    arrow.lineTo(9, 11);
    arrow.closeSubpath();
    arrow.addRect(13, 11, 6, 9);
    if (move == Move::Unload) {
        arrow = QTransform(1, 0, 0, -1, 0, kMovePictureHeight).map(arrow);
    }
    QFont font;
    font.setPixelSize(13);
    const QFontMetrics metrics(font);
    const qreal baseline = (kMovePictureHeight + metrics.ascent() - metrics.descent()) / 2.0;
    arrow.addText(QPointF(30, baseline), font,
                  move == Move::Load ? QStringLiteral("Load") : QStringLiteral("Unload"));
    return arrow;
}

// Black on the raised face when active; grey with a white shadow, as disabled text looks, when
// there is nothing to move.
QPixmap drawMovePicture(Move move, bool active) {
    QPixmap picture(kMovePictureWidth, kMovePictureHeight);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawFace(painter, picture.rect(), false);
    const QPainterPath path = movePath(move);
    if (!active) {
        painter.fillPath(path.translated(1, 1), Qt::white);
    }
    painter.fillPath(path, active ? QColor(Qt::black) : QColor(128, 128, 128));
    return picture;
}

}  // namespace

QPixmap loadButtonPicture(int resourceId) {
    switch (resourceId) {
        case kSpeakActive:
            return drawPicture(Symbol::Speak, Look::Active);
        case kStopActive:
            return drawPicture(Symbol::Stop, Look::Active);
        case kPauseActive:
            return drawPicture(Symbol::Pause, Look::Active);
        case kSpeakInactive:
            return drawPicture(Symbol::Speak, Look::Inactive);
        case kStopInactive:
            return drawPicture(Symbol::Stop, Look::Inactive);
        case kPauseInactive:
            return drawPicture(Symbol::Pause, Look::Inactive);
        case kResume:
            return drawPicture(Symbol::Pause, Look::Sunken);
        default:
            return {};
    }
}

QPixmap loadMoveButtonPicture(int resourceId) {
    switch (resourceId) {
        case kLoadInactive:
            return drawMovePicture(Move::Load, false);
        case kLoadActive:
            return drawMovePicture(Move::Load, true);
        case kUnloadInactive:
            return drawMovePicture(Move::Unload, false);
        case kUnloadActive:
            return drawMovePicture(Move::Unload, true);
        default:
            return {};
    }
}

}  // namespace resources
