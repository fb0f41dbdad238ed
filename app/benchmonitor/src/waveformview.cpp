#include "waveformview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "benchmonitor/monitormodel.h"

namespace benchmonitor {

// The drawing surface inside the scroll area: paints only the columns that are exposed.
class WaveformView::Canvas : public QWidget {
  public:
    Canvas(const MonitorModel& monitor, WordLabels& labels, QWidget* parent)
        : QWidget(parent), m_monitor(monitor), m_labels(labels) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_StaticContents);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        if (const RequestRecord* record = m_monitor.latest()) {
            paintWaveform(painter, event->rect(), height(), *record, WaveformLayout{}, m_labels);
        } else {
            painter.fillRect(event->rect(), Qt::white);
        }
    }

  private:
    const MonitorModel& m_monitor;
    WordLabels& m_labels;
};

WaveformView::WaveformView(const MonitorModel& monitor, QWidget* parent)
    : QScrollArea(parent),
      m_monitor(monitor),
      m_labels(font()),
      m_canvas(new Canvas(monitor, m_labels, this)) {
    setWidget(m_canvas);
    setWidgetResizable(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(140);
    m_canvas->resize(1, viewport()->height());
}

void WaveformView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    m_canvas->resize(m_canvas->width(), viewport()->height());
}

void WaveformView::reset() {
    m_audioColumn = 0;
    m_seenEvents = 0;
    m_labels.clear();
    m_canvas->update();
}

QRect WaveformView::changedArea(const RequestRecord& record) const {
    const WaveformLayout layout;
    int from = m_audioColumn;
    const std::vector<monitor::LoggedEvent>& events = record.log.events();
    for (std::size_t index = m_seenEvents; index < events.size(); ++index) {
        if (const auto ms = record.log.audioMs(events[index])) {
            from = std::min(from, layout.columnOf(*ms));
        }
    }
    const int to =
        std::max(layout.columnOf(record.envelope.audioMs()), m_audioColumn) + m_labels.reach();
    return QRect(from - 1, 0, to - from + 2, m_canvas->height());
}

void WaveformView::sync() {
    const RequestRecord* record = m_monitor.latest();
    const WaveformLayout layout;
    const int width = record ? layout.width(*record) : 1;
    QScrollBar* bar = horizontalScrollBar();
    const bool following = bar->value() >= bar->maximum() - 1 || width < m_canvas->width();
    if (width != m_canvas->width()) {
        m_canvas->resize(width, viewport()->height());
    }
    if (!record || record->ended) {
        m_canvas->update();
    } else {
        m_canvas->update(changedArea(*record));
        m_audioColumn = layout.columnOf(record->envelope.audioMs());
        m_seenEvents = record->log.events().size();
    }
    if (following) {
        bar->setValue(bar->maximum());
    }
}

}  // namespace benchmonitor
