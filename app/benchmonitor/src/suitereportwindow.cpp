#include "suitereportwindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/soundplayer.h"

namespace benchmonitor {
namespace {

QTableWidget* table(const QString& name, const QStringList& headers) {
    auto* widget = new QTableWidget(0, static_cast<int>(headers.size()));
    widget->setAccessibleName(name);
    widget->setHorizontalHeaderLabels(headers);
    widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget->setSelectionBehavior(QAbstractItemView::SelectRows);
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    widget->horizontalHeader()->setStretchLastSection(true);
    widget->verticalHeader()->hide();
    return widget;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

void setRow(QTableWidget& widget, int row, const QStringList& cells) {
    for (int column = 0; column < cells.size(); ++column) {
        widget.setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

QString milliseconds(const std::optional<double>& value) {
    return value ? QStringLiteral("%1 ms").arg(*value, 0, 'f', 0) : QStringLiteral("—");
}

// What changed about a case, in a few words.
QString caseChanges(const suite::CaseResult& result) {
    if (result.status == suite::CaseStatus::Failed) {
        return QString::fromStdString(result.error);
    }
    QStringList parts;
    if (result.durationChanged) {
        parts << QStringLiteral("duration %1 → %2 ms")
                     .arg(result.durationBefore, 0, 'f', 0)
                     .arg(result.durationAfter, 0, 'f', 0);
    }
    if (!result.words.empty()) {
        const auto count = static_cast<qsizetype>(result.words.size());
        parts << (count == 1 ? QStringLiteral("1 word") : QStringLiteral("%1 words").arg(count));
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace

SuiteReportWindow::SuiteReportWindow(suite::SuiteReport report, platform::SoundPlayer& sounds,
                                     QWidget* parent)
    : QDialog(parent, Qt::Window),
      m_report(std::move(report)),
      m_shown(suite::casesWorstFirst(m_report)),
      m_sounds(sounds),
      m_summary(new QLabel),
      m_cases(table(QStringLiteral("Changed cases"),
                    {QStringLiteral("Case"), QStringLiteral("Status"), QStringLiteral("Text"),
                     QStringLiteral("What changed")})),
      m_words(table(QStringLiteral("Changed words"),
                    {QStringLiteral("Word"), QStringLiteral("IPA before"),
                     QStringLiteral("IPA after"), QStringLiteral("Onset before"),
                     QStringLiteral("Onset after"), QStringLiteral("Distance")})) {
    setWindowTitle(
        QStringLiteral("Suite Report: %1").arg(QString::fromStdString(m_report.suiteName)));
    m_summary->setAccessibleName(QStringLiteral("Summary"));
    m_summary->setText(QStringLiteral("%1 cases: %2 pass, %3 changed, %4 failed.")
                           .arg(m_report.cases.size())
                           .arg(m_report.count(suite::CaseStatus::Pass))
                           .arg(m_report.count(suite::CaseStatus::Changed))
                           .arg(m_report.count(suite::CaseStatus::Failed)));
    m_cases->setRowCount(static_cast<int>(m_shown.size()));
    for (int row = 0; row < m_cases->rowCount(); ++row) {
        const suite::CaseResult& result = *m_shown[static_cast<std::size_t>(row)];
        setRow(*m_cases, row,
               {QString::fromStdString(result.id),
                QString::fromLatin1(suite::statusName(result.status)),
                QString::fromStdString(result.text), caseChanges(result)});
    }
    for (QTableWidget* widget : {m_cases, m_words}) {
        widget->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    }
    m_cases->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_cases->horizontalHeader()->setStretchLastSection(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(buddyLabel(QStringLiteral("&Cases that changed or failed"), m_cases));
    layout->addWidget(m_cases, 2);
    layout->addWidget(buddyLabel(QStringLiteral("Changed &words of the case"), m_words));
    layout->addWidget(m_words, 2);
    layout->addWidget(createPlayButtons());
    connect(m_cases, &QTableWidget::currentCellChanged, this, [this](int row) { showCase(row); });
    connect(m_words, &QTableWidget::currentCellChanged, this, [this] { updatePlayButtons(); });
    resize(820, 520);
    choose(0, 0);
}

QWidget* SuiteReportWindow::createPlayButtons() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_playBefore = new QPushButton(QStringLiteral("Play &old"));
    m_playBefore->setAccessibleName(QStringLiteral("Play the word as the reference said it"));
    m_playAfter = new QPushButton(QStringLiteral("Play &new"));
    m_playAfter->setAccessibleName(QStringLiteral("Play the word as the checked build said it"));
    auto* close = new QPushButton(QStringLiteral("Close"));
    for (QPushButton* button : {m_playBefore, m_playAfter, close}) {
        button->setAutoDefault(false);
    }
    layout->addWidget(m_playBefore);
    layout->addWidget(m_playAfter);
    layout->addStretch();
    layout->addWidget(close);
    connect(m_playBefore, &QPushButton::clicked, this, [this] { play(true); });
    connect(m_playAfter, &QPushButton::clicked, this, [this] { play(false); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    return row;
}

void SuiteReportWindow::choose(int caseRow, int wordRow) {
    if (caseRow >= 0 && caseRow < m_cases->rowCount()) {
        m_cases->setCurrentCell(caseRow, 0);
        showCase(caseRow);
    }
    if (wordRow >= 0 && wordRow < m_words->rowCount()) {
        m_words->setCurrentCell(wordRow, 0);
    }
    updatePlayButtons();
}

void SuiteReportWindow::showCase(int row) {
    const bool valid = row >= 0 && row < static_cast<int>(m_shown.size());
    const std::vector<suite::WordChange> none;
    const auto& words = valid ? m_shown[static_cast<std::size_t>(row)]->words : none;
    m_words->setRowCount(static_cast<int>(words.size()));
    for (int index = 0; index < m_words->rowCount(); ++index) {
        const suite::WordChange& word = words[static_cast<std::size_t>(index)];
        setRow(*m_words, index,
               {QString::fromStdString(word.text), QString::fromStdString(word.ipaBefore),
                QString::fromStdString(word.ipaAfter), milliseconds(word.onsetBefore),
                milliseconds(word.onsetAfter),
                word.spectralDb ? QStringLiteral("%1 dB").arg(*word.spectralDb, 0, 'f', 1)
                                : QStringLiteral("—")});
    }
    if (m_words->rowCount() > 0) {
        m_words->setCurrentCell(0, 0);
    }
    updatePlayButtons();
}

void SuiteReportWindow::updatePlayButtons() {
    m_playBefore->setEnabled(chosenWord(true) != nullptr);
    m_playAfter->setEnabled(chosenWord(false) != nullptr);
}

const suite::PlacedWord* SuiteReportWindow::chosenWord(bool before) const {
    const int caseRow = m_cases->currentRow();
    const int wordRow = m_words->currentRow();
    if (caseRow < 0 || caseRow >= static_cast<int>(m_shown.size()) || wordRow < 0) {
        return nullptr;
    }
    const suite::CaseResult& result = *m_shown[static_cast<std::size_t>(caseRow)];
    const std::optional<suite::ShownRendering>& side = before ? result.before : result.after;
    if (!side || side->audio.empty() || wordRow >= static_cast<int>(result.words.size())) {
        return nullptr;
    }
    const int32_t start = result.words[static_cast<std::size_t>(wordRow)].start;
    for (const suite::PlacedWord& word : side->words) {
        if (word.start == start) {
            return &word;
        }
    }
    return nullptr;
}

void SuiteReportWindow::play(bool before) {
    const suite::PlacedWord* word = chosenWord(before);
    if (word == nullptr) {
        return;
    }
    const suite::CaseResult& result = *m_shown[static_cast<std::size_t>(m_cases->currentRow())];
    const suite::ShownRendering& side = before ? *result.before : *result.after;
    m_sounds.playExcerpt(side.audio, word->begin, word->end - word->begin);
}

}  // namespace benchmonitor
