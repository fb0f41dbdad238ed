#include "waveformview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "benchmonitor/monitormodel.h"

namespace benchmonitor {

// The drawing surface inside the scroll area: paints only the columns that are exposed.
class WaveformView::Canvas : public QWidget {
  public:
    Canvas(const MonitorModel& monitor, QWidget* parent) : QWidget(parent), m_monitor(monitor) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        if (const RequestRecord* record = m_monitor.latest()) {
            paintWaveform(painter, event->rect(), height(), *record, WaveformLayout{});
        } else {
            painter.fillRect(event->rect(), Qt::white);
        }
    }

  private:
    const MonitorModel& m_monitor;
};

WaveformView::WaveformView(const MonitorModel& monitor, QWidget* parent)
    : QScrollArea(parent), m_monitor(monitor), m_canvas(new Canvas(monitor, this)) {
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

void WaveformView::sync() {
    const RequestRecord* record = m_monitor.latest();
    const WaveformLayout layout;
    const int width = record ? layout.width(*record) : 1;
    QScrollBar* bar = horizontalScrollBar();
    const bool following = bar->value() >= bar->maximum() - 1 || width < m_canvas->width();
    if (width != m_canvas->width()) {
        m_canvas->resize(width, viewport()->height());
    }
    m_canvas->update();
    if (following) {
        bar->setValue(bar->maximum());
    }
}

}  // namespace benchmonitor
