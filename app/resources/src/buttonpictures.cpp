#include "resources/buttonpictures.h"

#include <QPainter>
#include <QPainterPath>

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

void drawFace(QPainter& painter, bool sunken) {
    const QRect face(0, 0, kButtonPictureWidth, kButtonPictureHeight);
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
    drawFace(painter, look == Look::Sunken);
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

}  // namespace resources
