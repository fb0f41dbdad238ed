#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace shell {

// A button that shows a picture instead of its text. When it is painted it first asks its
// window to redraw the window's image buttons (the owner-draw notification), which hands it the
// picture to show.
class ImageButton : public QAbstractButton {
    Q_OBJECT
  public:
    ImageButton(int id, const QString& text, const QString& accessibleName, QWidget* parent);

    int id() const { return m_id; }
    int pictureId() const { return m_pictureId; }
    // Shows the picture with the given resource number; repaints only when it changes.
    void setPicture(int pictureId);
    void clearPicture();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int m_id;
    int m_pictureId = 0;
    QPixmap m_picture;
};

}  // namespace shell
