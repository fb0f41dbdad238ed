#pragma once

#include <QStaticText>
#include <QStyledItemDelegate>
#include <vector>

namespace benchmonitor {

// Draws the event log's cells from laid-out texts kept between paints. The log grows while the
// engine speaks and scrolling repaints the rows it moves; laying out every cell's text anew each
// time would cost more than everything else the monitor does. A logged event never changes, so
// a cell is asked of the model once, and again only when its column is resized.
class EventLogDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // Forgets the laid-out texts (the rows now stand for another request's events).
    void clear() { m_cells.clear(); }

  private:
    struct Cell {
        int width = -1;
        bool right = false;
        QStaticText laidOut;
    };

    const Cell& laidOut(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    mutable std::vector<std::vector<Cell>> m_cells;
};

}  // namespace benchmonitor
