#include "imagebutton.h"

#include <QPainter>
#include <QPen>

#include "context/commandids.h"
#include "platform/postedmessage.h"
#include "resources/buttonpictures.h"

namespace shell {

ImageButton::ImageButton(int id, const QString& text, const QString& accessibleName,
                         QWidget* parent)
    : QAbstractButton(parent), m_id(id) {
    setText(text);
    setAccessibleName(accessibleName);
    setFocusPolicy(Qt::TabFocus);
}

void ImageButton::setPicture(int pictureId) {
    if (pictureId == m_pictureId)
        return;
    m_pictureId = pictureId;
    m_picture = resources::loadButtonPicture(pictureId);
    update();
}

void ImageButton::clearPicture() {
    m_pictureId = 0;
    m_picture = QPixmap();
}

void ImageButton::paintEvent(QPaintEvent*) {
    if (QWidget* owner = window())
        platform::sendMessage(owner, context::kDrawItemEventType);
    QPainter painter(this);
    if (!m_picture.isNull())
        painter.drawPixmap(0, 0, m_picture);
    // A keyboard user sees which button Space presses: a dotted rectangle inside the picture.
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

}  // namespace shell
