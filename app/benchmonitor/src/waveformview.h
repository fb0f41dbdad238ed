#pragma once

#include <QScrollArea>

#include "waveform.h"

namespace benchmonitor {

class MonitorModel;

// The waveform of the latest request on screen, one column per 10 ms, in a horizontally
// scrollable area that keeps the end of the audio heard so far in view while it grows, turning
// half a page when the end reaches the right edge, unless the user has scrolled elsewhere.
class WaveformView : public QScrollArea {
  public:
    explicit WaveformView(const MonitorModel& monitor, QWidget* parent = nullptr);

    // Takes in what was tapped and marked since the last call, repainting only what changed;
    // reset() repaints all after a new request.
    void sync();
    void reset();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    class Canvas;

    // The part of the waveform that changed since the last sync: from the earliest new mark
    // or the previous end of the audio to the new end or the end of the last new word. Lays
    // out the new marks' words.
    QRect changedArea(const RequestRecord& record);

    const MonitorModel& m_monitor;
    WordLabels m_labels;
    Canvas* m_canvas;
    int m_audioColumn = 0;
    std::size_t m_seenEvents = 0;
};

}  // namespace benchmonitor
