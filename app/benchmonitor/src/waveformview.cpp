#include "waveformview.h"

#include <saymgr.h>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "monitormodel.h"

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
    m_canvas->resize(std::max(m_canvas->width(), viewport()->width()), viewport()->height());
}

void WaveformView::reset() {
    m_audioColumn = 0;
    m_seenEvents = 0;
    m_labels.clear();
    m_canvas->resize(viewport()->width(), viewport()->height());
    horizontalScrollBar()->setValue(0);
    m_canvas->update();
}

QRect WaveformView::changedArea(const RequestRecord& record) {
    const WaveformLayout layout;
    int from = m_audioColumn;
    int to = std::max(layout.columnOf(record.envelope.audioMs()), m_audioColumn);
    const monitor::SpeechLog& log = record.log;
    const std::vector<monitor::LoggedEvent>& events = log.events();
    for (std::size_t index = m_seenEvents; index < events.size(); ++index) {
        const std::optional<double> ms = log.audioMs(events[index]);
        if (events[index].code != SAYMGR_NOTIFY_MARK1 || !ms) {
            continue;
        }
        const int column = layout.columnOf(*ms);
        const WordLabels::Label& label =
            m_labels.place(index, column, [&] { return log.textOf(events[index]); });
        from = std::min(from, column);
        to = std::max(to, label.end);
    }
    return QRect(from - 1, 0, to - from + 2, m_canvas->height());
}

void WaveformView::sync() {
    const RequestRecord* record = m_monitor.latest();
    if (!record) {
        m_canvas->update();
        return;
    }
    const WaveformLayout layout;
    QScrollBar* bar = horizontalScrollBar();
    const int page = viewport()->width();
    const bool following = m_audioColumn >= bar->value() && m_audioColumn <= bar->value() + page;
    // The canvas is at least a page wide and, while the audio grows, grows a page at a time:
    // neither its size nor the view changes with every sync.
    const int width = layout.width(*record);
    if (record->ended) {
        m_canvas->resize(std::max(width, page), viewport()->height());
    } else if (width > m_canvas->width()) {
        m_canvas->resize(width + page, viewport()->height());
    }
    m_canvas->update(changedArea(*record));
    m_audioColumn = layout.columnOf(record->envelope.audioMs());
    m_seenEvents = record->log.events().size();
    if (following && m_audioColumn > bar->value() + page) {
        bar->setValue(m_audioColumn - page / 2);
    }
}

}  // namespace benchmonitor
