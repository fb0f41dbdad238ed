#pragma once

#include <QTableView>

namespace benchmonitor {

// The event log's table. A table view lays out and repaints every visible row whenever rows
// are inserted; the log only ever grows at its end while the engine speaks, so rows appended
// there repaint only themselves while all rows still fit in the view.
class EventLogView : public QTableView {
  public:
    using QTableView::QTableView;

    void doItemsLayout() override;
    void reset() override;

  protected:
    void rowsInserted(const QModelIndex& parent, int first, int last) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last) override;

  private:
    int m_appendedFrom = -1;  // the first row appended since the last layout; -1 for none
    bool m_fullLayout = true;
};

}  // namespace benchmonitor
