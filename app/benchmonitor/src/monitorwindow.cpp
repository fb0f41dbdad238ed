#include "benchmonitor/monitorwindow.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "binding/statustext.h"
#include "context/programcontext.h"
#include "eventlogdelegate.h"
#include "eventlogview.h"
#include "eventtable.h"
#include "exports.h"
#include "monitor/eventcsv.h"
#include "monitor/subtitles.h"
#include "monitor/timingfigures.h"
#include "monitormodel.h"
#include "suitereportwindow.h"
#include "waveformview.h"

namespace benchmonitor {
namespace {

// What the window shows follows the engine in one repaint pass a second. A pass costs about
// half a millisecond whatever it shows, while the engine speaks a second for about ten: more
// passes would make watching the engine cost noticeably more than running it.
constexpr int kRefreshMs = 1000;
const QString kCaption = QStringLiteral("Bench Monitor");

// A table to read, not edit, without row numbers (whose header would measure every row).
QTableWidget* readOnlyTable(const QString& name, const QStringList& headers) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()));
    table->setAccessibleName(name);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->verticalHeader()->hide();
    return table;
}

// Shows `text` in the cell, creating it when missing; an unchanged text repaints nothing.
void showInCell(QTableWidget& table, int row, int column, const QString& text) {
    if (QTableWidgetItem* item = table.item(row, column)) {
        if (item->text() != text) {
            item->setText(text);
        }
    } else {
        table.setItem(row, column, new QTableWidgetItem(text));
    }
}

QLabel* buddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QPushButton* button(const QString& text, const QString& accessibleName) {
    auto* pushButton = new QPushButton(text);
    pushButton->setAccessibleName(accessibleName);
    pushButton->setAutoDefault(false);
    return pushButton;
}

}  // namespace

MonitorWindow::MonitorWindow(context::ProgramContext& program, QWidget* parent)
    : QDialog(parent, Qt::Window),
      m_program(program),
      m_model(std::make_unique<MonitorModel>(program.session)),
      m_events(new EventTable(*m_model, this)),
      m_eventView(new EventLogView),
      m_eventDelegate(new EventLogDelegate(this)),
      m_waveform(new WaveformView(*m_model)),
      m_heading(new QLabel),
      m_notes(new QLabel),
      m_figures(readOnlyTable(QStringLiteral("Timing figures"),
                              {QStringLiteral("Figure"), QStringLiteral("Value")})),
      m_phonemes(readOnlyTable(QStringLiteral("Phonemes"),
                               {QStringLiteral("Word"), QStringLiteral("IPA")})),
      m_refreshTimer(new QTimer(this)),
      m_folder(QString::fromStdString(program.paths.startupDirectory)) {
    setWindowTitle(kCaption);
    setAccessibleName(kCaption);
    m_heading->setAccessibleName(QStringLiteral("Request"));
    m_notes->setAccessibleName(QStringLiteral("Notes"));
    m_notes->setWordWrap(true);
    m_figures->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_eventView->setModel(m_events);
    m_eventView->setItemDelegate(m_eventDelegate);
    connect(m_events, &QAbstractItemModel::dataChanged, m_eventDelegate,
            [this] { m_eventDelegate->clear(); });
    m_eventView->setAccessibleName(QStringLiteral("Event log"));
    m_eventView->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Scrolled by pixels, the rows already drawn move as they are and only the uncovered ones
    // are painted.
    m_eventView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_eventView->horizontalHeader()->setSectionResizeMode(5, QHeaderView::Stretch);
    m_eventView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_eventView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_eventView->verticalHeader()->hide();
    m_waveform->setAccessibleName(QStringLiteral("Waveform with word marks"));

    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(QStringLiteral("&Events"), m_eventView), 0, 0, 1, 2);
    grid->addWidget(m_eventView, 1, 0, 1, 2);
    grid->addWidget(buddyLabel(QStringLiteral("Wa&veform"), m_waveform), 2, 0, 1, 2);
    grid->addWidget(m_waveform, 3, 0, 1, 2);
    grid->addWidget(buddyLabel(QStringLiteral("&Figures"), m_figures), 4, 0);
    grid->addWidget(buddyLabel(QStringLiteral("P&honemes"), m_phonemes), 4, 1);
    grid->addWidget(m_figures, 5, 0);
    grid->addWidget(m_phonemes, 5, 1);
    grid->setRowStretch(1, 3);
    grid->setRowStretch(3, 2);
    grid->setRowStretch(5, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_notes);
    layout->addLayout(grid);
    layout->addWidget(createExportButtons());
    resize(900, 680);

    m_model->setOnChange([this](MonitorModel::Change change) { onChange(change); });
    connect(m_refreshTimer, &QTimer::timeout, this, [this] {
        if (m_waveformDirty) {
            refreshWaveform();
        }
        if (m_textDirty) {
            refreshTexts();
        }
    });
    refresh();
}

QWidget* MonitorWindow::createExportButtons() {
    auto* row = new QWidget;
    // Two lines, so that the window fits a small screen: the event log's and the waveform's
    // exports, then the subtitles' exports and Close.
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* logLine = new QHBoxLayout;
    auto* subtitleLine = new QHBoxLayout;
    layout->addLayout(logLine);
    layout->addLayout(subtitleLine);
    QPushButton* csv = button(QStringLiteral("Event log as &CSV..."),
                              QStringLiteral("Export the event log as CSV"));
    QPushButton* json = button(QStringLiteral("Event log as &JSON..."),
                               QStringLiteral("Export the event log as JSON lines"));
    m_subtitleUnit = new QComboBox;
    m_subtitleUnit->addItems({QStringLiteral("Word"), QStringLiteral("Piece")});
    m_subtitleUnit->setAccessibleName(QStringLiteral("Subtitles per word or per piece"));
    QPushButton* srt = button(QStringLiteral("Subtitles as &SRT..."),
                              QStringLiteral("Export the subtitles as SRT"));
    QPushButton* vtt = button(QStringLiteral("Subtitles as &WebVTT..."),
                              QStringLiteral("Export the subtitles as WebVTT"));
    QPushButton* png =
        button(QStringLiteral("Waveform as &PNG..."), QStringLiteral("Export the waveform as PNG"));
    QPushButton* suiteReport = button(QStringLiteral("Suite &report..."),
                                      QStringLiteral("Open a regression suite's report"));
    QPushButton* close = button(QStringLiteral("Close"), QStringLiteral("Close"));
    for (QWidget* widget : {static_cast<QWidget*>(csv), static_cast<QWidget*>(json),
                            static_cast<QWidget*>(png), static_cast<QWidget*>(suiteReport)}) {
        logLine->addWidget(widget);
    }
    logLine->addStretch();
    subtitleLine->addWidget(buddyLabel(QStringLiteral("Subtitles &by"), m_subtitleUnit));
    for (QWidget* widget : {static_cast<QWidget*>(m_subtitleUnit), static_cast<QWidget*>(srt),
                            static_cast<QWidget*>(vtt)}) {
        subtitleLine->addWidget(widget);
    }
    subtitleLine->addStretch();
    subtitleLine->addWidget(close);

    connect(csv, &QPushButton::clicked, this, [this] {
        exportFile(QStringLiteral("Export the Event Log as CSV"),
                   QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"),
                   [](const RequestRecord& record) { return monitor::eventCsv(record.log); });
    });
    connect(json, &QPushButton::clicked, this, [this] {
        exportFile(QStringLiteral("Export the Event Log as JSON"),
                   QStringLiteral("JSON lines (*.jsonl *.json)"), QStringLiteral("jsonl"),
                   [](const RequestRecord& record) { return eventLogJson(record.log); });
    });
    connect(srt, &QPushButton::clicked, this, [this] { exportSubtitles(false); });
    connect(vtt, &QPushButton::clicked, this, [this] { exportSubtitles(true); });
    connect(png, &QPushButton::clicked, this, [this] {
        exportFile(QStringLiteral("Export the Waveform as PNG"),
                   QStringLiteral("PNG images (*.png)"), QStringLiteral("png"),
                   [](const RequestRecord& record) { return waveformPng(record).toStdString(); });
    });
    connect(suiteReport, &QPushButton::clicked, this, [this] { openSuiteReport(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    return row;
}

MonitorWindow::~MonitorWindow() = default;

void MonitorWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_model->attach();
    m_refreshTimer->start(kRefreshMs);
    refresh();
}

void MonitorWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        m_model->detach();
        m_refreshTimer->stop();
    }
}

void MonitorWindow::onChange(ModelChange change) {
    m_waveformDirty = true;
    m_textDirty = m_textDirty || change != MonitorModel::Change::Audio;
    if (change == MonitorModel::Change::Begun) {
        m_events->reset();
        m_eventDelegate->clear();
        m_waveform->reset();
        showPhonemes();
    } else if (change == MonitorModel::Change::Ended) {
        refresh();
        showPhonemes();
    }
}

void MonitorWindow::refresh() {
    refreshWaveform();
    refreshTexts();
}

void MonitorWindow::refreshWaveform() {
    m_waveformDirty = false;
    m_waveform->sync();
}

void MonitorWindow::refreshTexts() {
    m_textDirty = false;
    QScrollBar* bar = m_eventView->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    m_events->sync();
    if (atEnd) {
        m_eventView->scrollToBottom();
    }
    showFigures();
    showHeading();
    m_notes->setText(m_model->notes());
    m_notes->setVisible(!m_notes->text().isEmpty());
}

// One row per figure, its name and its value: a value that changes repaints only its cell.
void MonitorWindow::showFigures() {
    const RequestRecord* record = m_model->latest();
    const std::vector<monitor::TimingRow> rows =
        record ? monitor::timingRows(monitor::measureTiming(record->log))
               : std::vector<monitor::TimingRow>();
    m_figures->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < m_figures->rowCount(); ++row) {
        const monitor::TimingRow& figure = rows[static_cast<std::size_t>(row)];
        showInCell(*m_figures, row, 0, QString::fromStdString(figure.name));
        showInCell(*m_figures, row, 1, QString::fromStdString(figure.value));
    }
}

void MonitorWindow::showHeading() {
    const RequestRecord* record = m_model->latest();
    if (!record) {
        m_heading->setText(QStringLiteral("No request yet: speak or generate a text."));
        return;
    }
    const qsizetype bytes = static_cast<qsizetype>(record->log.bytes(0, INT32_MAX).size());
    QString state = QStringLiteral("speaking");
    if (record->closedEarly) {
        state = QStringLiteral("not followed to its end (the monitor was closed)");
    } else if (record->ended) {
        state = record->endStatus == 0
                    ? QStringLiteral("ended")
                    : QStringLiteral("ended: %1")
                          .arg(QString::fromStdString(binding::statusMessage(record->endStatus)));
    }
    m_heading->setText(
        QStringLiteral("Latest request: %1 bytes of text, %2.").arg(bytes).arg(state));
}

void MonitorWindow::showPhonemes() {
    const RequestRecord* record = m_model->latest();
    const auto rows = record ? static_cast<int>(record->phonemes.size()) : 0;
    m_phonemes->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const binding::PhonemeWord& word = record->phonemes[static_cast<std::size_t>(row)];
        showInCell(*m_phonemes, row, 0, QString::fromStdString(record->wordOf(word)));
        showInCell(*m_phonemes, row, 1, QString::fromStdString(word.ipa));
    }
}

void MonitorWindow::exportSubtitles(bool webVtt) {
    const auto unit = m_subtitleUnit->currentIndex() == 0 ? monitor::SubtitleUnit::Word
                                                          : monitor::SubtitleUnit::Piece;
    const auto format = webVtt ? monitor::SubtitleFormat::WebVtt : monitor::SubtitleFormat::Srt;
    exportFile(webVtt ? QStringLiteral("Export the Subtitles as WebVTT")
                      : QStringLiteral("Export the Subtitles as SRT"),
               webVtt ? QStringLiteral("WebVTT subtitles (*.vtt)")
                      : QStringLiteral("SubRip subtitles (*.srt)"),
               webVtt ? QStringLiteral("vtt") : QStringLiteral("srt"),
               [unit, format](const RequestRecord& record) {
                   return monitor::formatCues(monitor::buildCues(record.log, unit), format);
               });
}

void MonitorWindow::exportFile(const QString& title, const QString& filter, const QString& suffix,
                               const Content& content) {
    const RequestRecord* record = m_model->latest();
    if (!record) {
        tell(QStringLiteral("There is no request to export yet."), false);
        return;
    }
    std::optional<QString> path =
        m_program.services.fileDialogs->saveFile(this, title, m_folder, filter);
    if (!path) {
        return;
    }
    if (QFileInfo(*path).suffix().isEmpty()) {
        *path += QLatin1Char('.') + suffix;
    }
    m_folder = QFileInfo(*path).absolutePath();
    if (QFileInfo::exists(*path) && !mayReplace(*path)) {
        return;
    }
    if (!writeExport(*path, content(*record))) {
        tell(QStringLiteral("The file %1 could not be written.").arg(*path), true);
    }
}

// An export onto a file that exists replaces it only when the user says so, also when the name
// was given without its extension.
bool MonitorWindow::mayReplace(const QString& path) {
    platform::MessageService& messages = *m_program.services.messages;
    messages.beep(platform::BeepKind::Question);
    return messages.show(this,
                         QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(path),
                         kCaption, platform::MessageIcon::Question,
                         platform::MessageButtons::YesNo) == platform::MessageResult::Yes;
}

void MonitorWindow::openSuiteReport() {
    const std::optional<QString> path = m_program.services.fileDialogs->openFile(
        this, QStringLiteral("Open a Suite Report"), m_folder,
        QStringLiteral("Suite reports (*.json);;all Files (*.*)"));
    if (!path) {
        return;
    }
    m_folder = QFileInfo(*path).absolutePath();
    std::string error;
    std::optional<suite::SuiteReport> report = suite::readReportFile(path->toStdString(), error);
    if (!report) {
        tell(QStringLiteral("%1 is not a suite report: %2")
                 .arg(*path, QString::fromStdString(error)),
             true);
        return;
    }
    if (m_suiteReport) {
        m_suiteReport->deleteLater();
    }
    m_suiteReport = new SuiteReportWindow(std::move(*report), *m_program.services.sounds, this);
    m_suiteReport->show();
}

void MonitorWindow::tell(const QString& text, bool failure) {
    platform::MessageService& messages = *m_program.services.messages;
    messages.beep(failure ? platform::BeepKind::Stop : platform::BeepKind::Information);
    messages.show(this, text, kCaption,
                  failure ? platform::MessageIcon::Stop : platform::MessageIcon::Information,
                  platform::MessageButtons::Ok);
}

}  // namespace benchmonitor
