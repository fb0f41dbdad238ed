#include "eventtable.h"

#include <array>

#include "monitormodel.h"

namespace benchmonitor {
namespace {

constexpr int kAudioColumn = 6;
constexpr std::array<const char*, 7> kHeaders{"ms",     "Code", "Name",    "Start",
                                              "Length", "Text", "Audio ms"};

int loggedEvents(const MonitorModel& monitor) {
    return monitor.latest() ? static_cast<int>(monitor.latest()->log.events().size()) : 0;
}

}  // namespace

EventTable::EventTable(const MonitorModel& monitor, QObject* parent)
    : QAbstractTableModel(parent), m_monitor(monitor) {}

void EventTable::reset() {
    beginResetModel();
    m_rows = loggedEvents(m_monitor);
    endResetModel();
}

void EventTable::sync() {
    const int rows = loggedEvents(m_monitor);
    if (rows < m_rows) {
        reset();
    } else if (rows > m_rows) {
        const int earlier = m_rows;
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
        if (earlier > 0 && startRow() >= earlier) {
            // Events without a position take their audio time from the start notification.
            emit dataChanged(index(0, kAudioColumn), index(earlier - 1, kAudioColumn));
        }
    }
}

int EventTable::startRow() const {
    const monitor::SpeechLog& log = m_monitor.latest()->log;
    const monitor::LoggedEvent* start = log.first(SAYMGR_NOTIFY_START);
    return start ? static_cast<int>(start - log.events().data()) : -1;
}

int EventTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int EventTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kHeaders.size());
}

QVariant EventTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows) {
        return {};
    }
    if (role == Qt::TextAlignmentRole && index.column() != 2 && index.column() != 5) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    return cellText(index.row(), index.column());
}

QString EventTable::cellText(int row, int column) const {
    const monitor::SpeechLog& log = m_monitor.latest()->log;
    const monitor::LoggedEvent& event = log.events()[static_cast<std::size_t>(row)];
    const bool covers = event.start >= 0;
    switch (column) {
        case 0:
            return QString::number(event.ms, 'f', 1);
        case 1:
            return QString::number(event.code);
        case 2:
            return QString::fromLatin1(monitor::eventName(event.code));
        case 3:
            return covers ? QString::number(event.start) : QString();
        case 4:
            return covers ? QString::number(event.length) : QString();
        case 5:
            return QString::fromStdString(log.textOf(event)).simplified();
        default: {
            const std::optional<double> ms = log.audioMs(event);
            return ms ? QString::number(*ms, 'f', 1) : QString();
        }
    }
}

QVariant EventTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    return section < static_cast<int>(kHeaders.size()) ? QString::fromLatin1(kHeaders[section])
                                                       : QVariant();
}

}  // namespace benchmonitor
