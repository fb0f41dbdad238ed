#include "eventlogview.h"

#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace benchmonitor {

void EventLogView::doItemsLayout() {
    const int first = std::exchange(m_appendedFrom, -1);
    if (std::exchange(m_fullLayout, false) || first < 0 || model() == nullptr) {
        QTableView::doItemsLayout();
        return;
    }
    // Only the appended rows are new. Rows already shown keep their texts: when the view then
    // scrolls to the end, the scroll moves their pixels and paints what it uncovers.
    updateGeometries();
    const int top = rowViewportPosition(first);
    viewport()->update(0, top, viewport()->width(), viewport()->height() - top);
}

void EventLogView::reset() {
    m_appendedFrom = -1;
    m_fullLayout = true;
    QTableView::reset();
}

void EventLogView::rowsInserted(const QModelIndex& parent, int first, int last) {
    QTableView::rowsInserted(parent, first, last);
    const bool atEnd = model() != nullptr && last == model()->rowCount(parent) - 1;
    if (parent.isValid() || !atEnd) {
        m_fullLayout = true;
    } else {
        m_appendedFrom = m_appendedFrom < 0 ? first : std::min(m_appendedFrom, first);
    }
}

void EventLogView::rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last) {
    m_fullLayout = true;
    QTableView::rowsAboutToBeRemoved(parent, first, last);
}

}  // namespace benchmonitor
