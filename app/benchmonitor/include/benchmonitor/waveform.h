#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QStaticText>
#include <string>
#include <vector>

class QPainter;

namespace benchmonitor {

struct RequestRecord;

// How the waveform of a request is laid out: one column per 10 ms of audio at scale 1, so
// many columns as the audio or its last word mark needs.
struct WaveformLayout {
    double columnsPerBucket = 1;

    // The width the whole audio takes.
    int width(const RequestRecord& record) const;
    // The column of a moment of the audio.
    int columnOf(double audioMs) const;
};

// The words written at the marks, each laid out once and kept for the next paint; a waveform
// that is painted again as it grows would otherwise lay out every visible word each time.
class WordLabels {
  public:
    explicit WordLabels(const QFont& font);

    const QStaticText& label(std::size_t event, const std::string& word);
    // How far right of its mark a word may reach: room for 24 average characters.
    int reach() const { return m_reach; }
    void clear() { m_labels.clear(); }

  private:
    int m_reach;
    std::vector<QStaticText> m_labels;  // by the index of the mark in the event log
};

// Paints the columns of `area` (in the coordinates of the whole waveform, `height` high): the
// outline of the audio, each word mark as a line with its word at its moment in the audio and
// a cursor at the end of the audio heard so far.
void paintWaveform(QPainter& painter, const QRect& area, int height, const RequestRecord& record,
                   WaveformLayout layout, WordLabels& labels);

// The whole waveform as an image at most kMaxImageWidth wide (longer audio is compressed).
inline constexpr int kMaxImageWidth = 16000;
QImage renderWaveform(const RequestRecord& record, int height = 240);

}  // namespace benchmonitor
