#pragma once

#include <QDialog>
#include <vector>

#include "suite/report.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace platform {
class SoundPlayer;
}

namespace benchmonitor {

// A regression suite's report opened in the bench monitor: the cases that changed or failed,
// the worst first; the changed words of the chosen case with their IPA before and after; and
// two buttons that play the chosen word as the reference said it and as the checked build did.
class SuiteReportWindow : public QDialog {
  public:
    SuiteReportWindow(suite::SuiteReport report, platform::SoundPlayer& sounds, QWidget* parent);

    // The case shown and the word chosen in it, as the tables' rows.
    void choose(int caseRow, int wordRow);

  private:
    QWidget* createPlayButtons();
    void showCase(int row);
    void updatePlayButtons();
    // The chosen word's place in the reference's audio (`before`) or in the new one; null when
    // that side has no audio or no mark for the word.
    const suite::PlacedWord* chosenWord(bool before) const;
    void play(bool before);

    suite::SuiteReport m_report;
    std::vector<const suite::CaseResult*> m_shown;
    platform::SoundPlayer& m_sounds;
    QLabel* m_summary;
    QTableWidget* m_cases;
    QTableWidget* m_words;
    QPushButton* m_playBefore = nullptr;
    QPushButton* m_playAfter = nullptr;
};

}  // namespace benchmonitor
