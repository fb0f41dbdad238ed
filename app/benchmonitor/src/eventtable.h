#pragma once

#include <QAbstractTableModel>

namespace benchmonitor {

class MonitorModel;

// The event log of the latest request as table rows: milliseconds since the command, code,
// name, start, length, text and milliseconds in the audio. sync() shows the events logged
// since the last call, appended at the end.
class EventTable : public QAbstractTableModel {
  public:
    explicit EventTable(const MonitorModel& monitor, QObject* parent = nullptr);

    void reset();
    void sync();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QString cellText(int row, int column) const;
    // The row of the start notification; -1 before it is logged.
    int startRow() const;

    const MonitorModel& m_monitor;
    int m_rows = 0;
};

}  // namespace benchmonitor
