#include "eventlogdelegate.h"

#include <QPainter>

namespace benchmonitor {
namespace {

constexpr int kCellMargin = 3;

QPalette::ColorGroup colorGroup(const QStyleOptionViewItem& option) {
    if (!(option.state & QStyle::State_Enabled)) {
        return QPalette::Disabled;
    }
    return option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
}

}  // namespace

void EventLogDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QPalette::ColorGroup group = colorGroup(option);
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    }
    const Cell& text = laidOut(option, index);
    const QRect cell = option.rect.adjusted(kCellMargin, 0, -kCellMargin, 0);
    const QSizeF size = text.laidOut.size();
    const QPointF origin(text.right ? cell.right() + 1 - size.width() : cell.left(),
                         cell.top() + (cell.height() - size.height()) / 2);
    painter->save();
    painter->setClipRect(cell);
    painter->setFont(option.font);
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawStaticText(origin, text.laidOut);
    painter->restore();
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor =
            option.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style != nullptr) {
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
        }
    }
}

const EventLogDelegate::Cell& EventLogDelegate::laidOut(const QStyleOptionViewItem& option,
                                                        const QModelIndex& index) const {
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    if (m_cells.size() <= row) {
        m_cells.resize(row + 1);
    }
    std::vector<Cell>& cells = m_cells[row];
    if (cells.size() <= column) {
        cells.resize(column + 1);
    }
    Cell& cell = cells[column];
    const int width = option.rect.width() - 2 * kCellMargin;
    if (cell.width != width) {
        const QString text = index.data(Qt::DisplayRole).toString();
        cell.width = width;
        cell.right = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight;
        cell.laidOut.setTextFormat(Qt::PlainText);
        cell.laidOut.setText(text);
        cell.laidOut.prepare(QTransform(), option.font);
        // Most texts fit: only a text too wide is laid out a second time, shortened.
        if (cell.laidOut.size().width() > width) {
            cell.laidOut.setText(option.fontMetrics.elidedText(text, Qt::ElideRight, width));
            cell.laidOut.prepare(QTransform(), option.font);
        }
    }
    return cell;
}

}  // namespace benchmonitor
