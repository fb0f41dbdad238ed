#include "resources/programicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace resources {

namespace {

QPixmap drawIcon(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    QPainterPath balloon;
    balloon.addRoundedRect(QRectF(2, 3, 22, 17), 5, 5);
    balloon.moveTo(7, 19);
    balloon.lineTo(5, 28);
    balloon.lineTo(14, 19);
    painter.fillPath(balloon.simplified(), QColor(30, 90, 160));
    painter.setPen(QPen(Qt::white, 2));
    for (int wave = 0; wave < 3; ++wave)
        painter.drawLine(QPointF(8 + 5 * wave, 9 + wave % 2 * 2),
                         QPointF(8 + 5 * wave, 14 - wave % 2 * 2));
    painter.setPen(QPen(QColor(30, 90, 160), 2));
    painter.drawArc(QRectF(20, 6, 10, 12), -60 * 16, 120 * 16);
    return picture;
}

}  // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(drawIcon(size));
    return icon;
}

}  // namespace resources
