#pragma once

#include <QStaticText>
#include <QStyledItemDelegate>
#include <vector>

namespace benchmonitor {

// Draws the event log's cells from laid-out texts kept between paints. The log grows while the
// engine speaks and the view repaints all its visible rows for each new one; laying out every
// cell's text anew would cost more than everything else the monitor does.
class EventLogDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // Forgets the laid-out texts (the rows now stand for other events).
    void clear() { m_cells.clear(); }

  private:
    struct Cell {
        QString text;
        int width = -1;
        QStaticText laidOut;
    };

    const QStaticText& laidOut(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    mutable std::vector<std::vector<Cell>> m_cells;
};

}  // namespace benchmonitor
