#pragma once

#include <QScrollArea>

#include "benchmonitor/waveform.h"

namespace benchmonitor {

class MonitorModel;

// The waveform of the latest request on screen, one column per 10 ms, in a horizontally
// scrollable area that keeps the end of the audio heard so far in view while it grows, unless
// the user has scrolled back.
class WaveformView : public QScrollArea {
  public:
    explicit WaveformView(const MonitorModel& monitor, QWidget* parent = nullptr);

    // Takes in what was tapped and marked since the last call.
    void sync();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    class Canvas;

    const MonitorModel& m_monitor;
    Canvas* m_canvas;
};

}  // namespace benchmonitor
