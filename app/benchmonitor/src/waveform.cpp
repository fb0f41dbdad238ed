#include "waveform.h"

#include <saymgr.h>

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "requestrecord.h"

namespace benchmonitor {
namespace {

constexpr double kMsPerBucket = 1000.0 / Envelope::kBucketsPerSecond;
// Room after the last mark for its word when no audio was tapped.
constexpr double kTrailingMs = 500;
// Between a mark and its word, and at least between two words on one line.
constexpr int kLabelGap = 2;

double lastMarkMs(const monitor::SpeechLog& log) {
    double last = 0;
    for (const monitor::LoggedEvent& event : log.events()) {
        if (event.code == SAYMGR_NOTIFY_MARK1) {
            last = std::max(last, log.audioMs(event).value_or(0));
        }
    }
    return last;
}

// The lowest and highest sample of the buckets that fall into `column`.
Envelope::Bucket columnRange(const std::vector<Envelope::Bucket>& buckets, int column,
                             double columnsPerBucket) {
    const auto first = static_cast<std::size_t>(column / columnsPerBucket);
    const auto last =
        std::max(first + 1, static_cast<std::size_t>((column + 1) / columnsPerBucket));
    Envelope::Bucket range;
    for (std::size_t index = first; index < std::min(last, buckets.size()); ++index) {
        range.low = std::min(range.low, buckets[index].low);
        range.high = std::max(range.high, buckets[index].high);
    }
    return range;
}

void paintOutline(QPainter& painter, const QRect& area, int height, const RequestRecord& record,
                  WaveformLayout layout) {
    const std::vector<Envelope::Bucket>& buckets = record.envelope.buckets();
    const int audioColumns = layout.columnOf(record.envelope.audioMs());
    const double middle = height / 2.0;
    const double scale = middle / 32768.0;
    std::vector<QLine> lines;
    for (int column = std::max(area.left(), 0); column <= std::min(area.right(), audioColumns);
         ++column) {
        const Envelope::Bucket range = columnRange(buckets, column, layout.columnsPerBucket);
        lines.emplace_back(column, static_cast<int>(middle - range.high * scale), column,
                           static_cast<int>(middle - range.low * scale));
    }
    painter.setPen(QColor(30, 70, 150));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

void paintMarks(QPainter& painter, const QRect& area, int height, const RequestRecord& record,
                WaveformLayout layout, WordLabels& labels) {
    const monitor::SpeechLog& log = record.log;
    const std::vector<monitor::LoggedEvent>& events = log.events();
    for (std::size_t index = 0; index < events.size(); ++index) {
        const monitor::LoggedEvent& event = events[index];
        const std::optional<double> ms = log.audioMs(event);
        if (event.code != SAYMGR_NOTIFY_MARK1 || !ms) {
            continue;
        }
        const int column = layout.columnOf(*ms);
        const WordLabels::Label& label =
            labels.place(index, column, [&] { return log.textOf(event); });
        if (column < area.left() - labels.reach() || column > area.right()) {
            continue;
        }
        painter.setPen(QColor(200, 40, 40));
        painter.drawLine(column, 0, column, height);
        painter.setPen(Qt::black);
        painter.drawStaticText(column + kLabelGap, 1 + label.line * labels.lineHeight(),
                               label.text);
    }
}

}  // namespace

WordLabels::WordLabels(const QFont& font)
    : m_metrics(font), m_reach(m_metrics.averageCharWidth() * 24) {
    clear();
}

const WordLabels::Label& WordLabels::place(std::size_t event, int column,
                                           const std::function<std::string()>& word) {
    if (m_labels.size() <= event) {
        m_labels.resize(event + 1);
    }
    std::optional<Label>& label = m_labels[event];
    if (!label) {
        const QString text = QString::fromStdString(word());
        // The first line that is free at the mark, or else the one that frees up first.
        const auto free = std::find_if(m_lineEnds.begin(), m_lineEnds.end(),
                                       [column](int end) { return end + kLabelGap <= column; });
        const auto line = free != m_lineEnds.end()
                              ? free
                              : std::min_element(m_lineEnds.begin(), m_lineEnds.end());
        *line = column + kLabelGap + m_metrics.horizontalAdvance(text);
        label = Label{QStaticText(text), static_cast<int>(line - m_lineEnds.begin()), *line};
        label->text.setTextFormat(Qt::PlainText);
    }
    return *label;
}

void WordLabels::clear() {
    m_labels.clear();
    m_lineEnds.fill(std::numeric_limits<int>::min() / 2);  // every line free from the start
}

int WaveformLayout::width(const RequestRecord& record) const {
    const double audioMs = record.envelope.audioMs();
    const double ms = audioMs > 0 ? std::max(audioMs, lastMarkMs(record.log))
                                  : lastMarkMs(record.log) + kTrailingMs;
    return std::max(1, columnOf(ms) + 1);
}

int WaveformLayout::columnOf(double audioMs) const {
    return static_cast<int>(std::floor(audioMs / kMsPerBucket * columnsPerBucket));
}

void paintWaveform(QPainter& painter, const QRect& area, int height, const RequestRecord& record,
                   WaveformLayout layout, WordLabels& labels) {
    painter.fillRect(area, Qt::white);
    painter.setPen(QColor(200, 200, 200));
    painter.drawLine(area.left(), height / 2, area.right(), height / 2);
    paintOutline(painter, area, height, record, layout);
    paintMarks(painter, area, height, record, layout, labels);
    if (!record.ended) {
        const int cursor = layout.columnOf(record.envelope.audioMs());
        painter.setPen(QColor(20, 150, 60));
        painter.drawLine(cursor, 0, cursor, height);
    }
}

QImage renderWaveform(const RequestRecord& record, int height) {
    WaveformLayout layout;
    const int fullWidth = layout.width(record);
    if (fullWidth > kMaxImageWidth) {
        layout.columnsPerBucket = static_cast<double>(kMaxImageWidth) / fullWidth;
    }
    QImage image(std::min(fullWidth, kMaxImageWidth), height, QImage::Format_RGB32);
    QPainter painter(&image);
    WordLabels labels(painter.font());
    paintWaveform(painter, image.rect(), height, record, layout, labels);
    return image;
}

}  // namespace benchmonitor
