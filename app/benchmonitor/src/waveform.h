#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QStaticText>
#include <array>
#include <functional>
#include <optional>
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

// The words written at the marks, each laid out once and kept for the next paint (a waveform
// that is painted again as it grows would otherwise lay out every visible word each time), on
// the first of a few lines where it does not run into the word before it.
class WordLabels {
  public:
    struct Label {
        QStaticText text;
        int line = 0;
        int end = 0;  // the column after the word
    };

    explicit WordLabels(const QFont& font);

    // The label of the mark that is event `event` of the log, heard at `column`; `word` gives
    // its text when it is placed for the first time. Marks are placed in the order of the log.
    const Label& place(std::size_t event, int column, const std::function<std::string()>& word);
    // How far right of its mark a word may reach: room for 24 average characters.
    int reach() const { return m_reach; }
    int lineHeight() const { return m_metrics.height(); }
    void clear();

  private:
    static constexpr int kLines = 3;

    QFontMetrics m_metrics;
    int m_reach;
    std::vector<std::optional<Label>> m_labels;  // by the index of the mark in the event log
    std::array<int, kLines> m_lineEnds;          // the column where each line's last word ends
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
