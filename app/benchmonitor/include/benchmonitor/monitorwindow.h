#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QTableWidget;
class QTimer;

namespace context {
struct ProgramContext;
}

namespace benchmonitor {

class EventLogDelegate;
class EventLogView;
class MonitorModel;
enum class ModelChange : int;
struct RequestRecord;
class EventTable;
class WaveformView;

// The Bench Monitor window: a non-modal window that shows, while the program speaks, the
// event log, the timing figures, the waveform with its word marks and the phonemes of the
// latest request, and exports them; it also opens the reports of regression suites. It watches the
// engine only while it is shown; Escape or Close hides it, and the program opens the same window
// again.
class MonitorWindow : public QDialog {
  public:
    MonitorWindow(context::ProgramContext& program, QWidget* parent);
    ~MonitorWindow() override;

    const MonitorModel& model() const { return *m_model; }
    // Brings what the window shows up to date with the model (the timer does it while shown).
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    using Content = std::function<std::string(const RequestRecord&)>;

    QWidget* createExportButtons();
    void refreshWaveform();
    void refreshTexts();
    void onChange(ModelChange change);
    void showFigures();
    void showHeading();
    void showPhonemes();
    void exportFile(const QString& title, const QString& filter, const QString& suffix,
                    const Content& content);
    void exportSubtitles(bool webVtt);
    bool mayReplace(const QString& path);
    void tell(const QString& text, bool failure);
    void openSuiteReport();

    context::ProgramContext& m_program;
    std::unique_ptr<MonitorModel> m_model;
    EventTable* m_events;
    EventLogView* m_eventView;
    EventLogDelegate* m_eventDelegate;
    WaveformView* m_waveform;
    QLabel* m_heading;
    QLabel* m_notes;
    QTableWidget* m_figures;
    QTableWidget* m_phonemes;
    QComboBox* m_subtitleUnit = nullptr;
    QTimer* m_refreshTimer;
    QPointer<QDialog> m_suiteReport;
    QString m_folder;
    bool m_waveformDirty = false;
    bool m_textDirty = false;
};

}  // namespace benchmonitor
