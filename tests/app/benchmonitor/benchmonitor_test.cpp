#include <gtest/gtest.h>

#include <fstream>

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <filesystem>

#include "benchmonitor/monitorwindow.h"
#include "context/commandids.h"
#include "envelope.h"
#include "monitormodel.h"
#include "shellfixture.h"
#include "suite/report.h"
#include "suitereportwindow.h"
#include "waveform.h"
#include "windowprocedure.h"

namespace benchmonitortest {
namespace {

using namespace std::chrono_literals;
using monitor::LoggedEvent;

// Ends at byte 18; the quotes and the comma need quoting in CSV.
const QString kText = QStringLiteral("Say \"hi, you\" now.");
constexpr int32_t kRate = 1000;  // one sample a millisecond

// A program with the fake engine whose speech is scripted in time (a clock the script moves)
// and, unless a test drops them, in audio positions and tapped samples.
class BenchMonitorTest : public shelltest::ShellFixture {
  protected:
    void startProgram(bool withExtensions = true) {
        m_extensions = withExtensions ? &testsupport::FakeEngine::extensions() : nullptr;
        writeSettings(shelltest::twoLanguageSettings(1));
        ASSERT_EQ(start(), std::nullopt);
        program().session.now = [this] { return m_clock; };
        mainWindow().input().setPlainText(kText);
        m_engine.setSampleRate(kRate);
        m_engine.setPhonemes({{0, 3, "seɪ"}, {5, 2, "haɪ"}, {9, 3, "juː"}, {14, 3, "naʊ"}});
    }
    // Heard at 40 ms after the command; the words come 0, +20, -30 and -50 ms off their audio.
    void scriptSpeech() {
        after(40ms);
        m_engine.addAudio(100, 1000);
        m_engine.addPositionedNotification(SAYMGR_NOTIFY_START, 0, 0, 0);
        m_engine.addPositionedNotification(SAYMGR_NOTIFY_CHUNK, 18, 0, 0);
        m_engine.addPositionedNotification(SAYMGR_NOTIFY_MARK1, 3, 0, 0);
        m_engine.addAudio(250, -2000);
        after(200ms);
        m_engine.addPositionedNotification(SAYMGR_NOTIFY_MARK1, 2, 5, 180);
        after(100ms);
        m_engine.addPositionedNotification(SAYMGR_NOTIFY_MARK1, 3, 9, 330);
        m_engine.addAudio(250, 3000);
        after(150ms);
        m_engine.addPositionedNotification(SAYMGR_NOTIFY_MARK1, 3, 14, 500);
        after(200ms);
        m_engine.addPositionedNotification(SAYMGR_NOTIFY_END, 0, 0, 600);
    }
    void after(std::chrono::milliseconds time) {
        m_engine.addAction([this, time] { m_clock += time; });
    }
    benchmonitor::MonitorWindow* monitor() const { return m_program->procedure().benchMonitor(); }
    void speak() {
        command(context::IDC_SPEAK);
        drain();
        if (monitor()) {
            monitor()->refresh();
        }
    }
    // The figures' rows as "name: value" lines.
    QString figures() const {
        const auto* table = findNamed<QTableWidget>("Timing figures");
        QString text;
        for (int row = 0; row < table->rowCount(); ++row) {
            text += table->item(row, 0)->text() + ": " + table->item(row, 1)->text() + '\n';
        }
        return text;
    }
    template <typename Widget>
    Widget* findNamed(const char* name) const {
        for (Widget* widget : monitor()->findChildren<Widget*>()) {
            if (widget->accessibleName() == QLatin1String(name)) {
                return widget;
            }
        }
        return nullptr;
    }
    // Exports through the button named `name`, answering the save dialog with `file`.
    std::string exportTo(const char* name, const std::filesystem::path& file) {
        m_recorders.fileDialogs->queueAnswer(QString::fromStdString(file.string()));
        findNamed<QPushButton>(name)->click();
        return readFile(file);
    }

    std::chrono::steady_clock::time_point m_clock{1h};
};

TEST_F(BenchMonitorTest, LogsTheRequestWithPositionsAndShowsItsFiguresAndPhonemes) {
    startProgram();
    scriptSpeech();
    command(context::IDM_BENCHMONITOR);
    speak();

    const std::vector<LoggedEvent> expected{{40, SAYMGR_NOTIFY_START, 0, 0, 0, kRate, -1, 0},
                                            {40, SAYMGR_NOTIFY_CHUNK, 18, 0, 0, kRate, 0, 18},
                                            {40, SAYMGR_NOTIFY_MARK1, 3, 0, 0, kRate, 0, 3},
                                            {240, SAYMGR_NOTIFY_MARK1, 2, 5, 180, kRate, 5, 2},
                                            {340, SAYMGR_NOTIFY_MARK1, 3, 9, 330, kRate, 9, 3},
                                            {490, SAYMGR_NOTIFY_MARK1, 3, 14, 500, kRate, 14, 3},
                                            {690, SAYMGR_NOTIFY_END, 0, 0, 600, kRate, -1, 0}};
    const benchmonitor::RequestRecord& record = *monitor()->model().latest();
    EXPECT_EQ(record.log.events(), expected);
    EXPECT_EQ(record.log.tappedSamples(), 600);
    EXPECT_EQ(figures(), QStringLiteral("first audio: 40.0 ms\naudio length: 0.600 s\n"
                                        "real-time factor: 1.150\nwords per minute: 400.0\n"
                                        "mark lag: min -50.0 ms, median -15.0 ms, max 20.0 ms "
                                        "(4 words)\n"));
    // Asked once the engine was free, for the text as spoken.
    EXPECT_EQ(m_engine.callsTo("SaymgrTextToPhonemes"),
              (std::vector<testsupport::EngineCall>{
                  {"SaymgrTextToPhonemes", {1, kText.toStdString(), 1}}}));
    auto* phonemes = findNamed<QTableWidget>("Phonemes");
    QStringList rows;
    for (int row = 0; row < phonemes->rowCount(); ++row) {
        rows << phonemes->item(row, 0)->text() + '|' + phonemes->item(row, 1)->text();
    }
    EXPECT_EQ(rows, (QStringList{"Say|seɪ", "hi|haɪ", "you|juː", "now|naʊ"}));
}

TEST_F(BenchMonitorTest, ExportsTheLogAsCsvAndJsonTheWordsAsSrtAndTheWaveformAsPng) {
    startProgram();
    scriptSpeech();
    command(context::IDM_BENCHMONITOR);
    speak();
    const std::filesystem::path folder = startupDirectory();

    EXPECT_EQ(exportTo("Export the event log as CSV", folder / "log.csv"),
              "ms,code,name,start,length,text,sample,audioMs\r\n"
              "40.0,7000,start,,,,0,0.0\r\n"
              "40.0,7002,piece,0,18,\"Say \"\"hi, you\"\" now.\",0,0.0\r\n"
              "40.0,7003,word,0,3,Say,0,0.0\r\n"
              "240.0,7003,word,5,2,hi,180,180.0\r\n"
              "340.0,7003,word,9,3,you,330,330.0\r\n"
              "490.0,7003,word,14,3,now,500,500.0\r\n"
              "690.0,7001,end,,,,600,600.0\r\n");
    exportTo("Export the event log as JSON lines", folder / "log");  // gets its suffix
    const std::string json = readFile(folder / "log.jsonl");
    EXPECT_EQ(std::ranges::count(json, '\n'), 7);
    EXPECT_TRUE(json.starts_with(
        "{\"ms\":40.0,\"code\":7000,\"name\":\"start\",\"sample\":0,\"audioMs\":0.0}\n"
        "{\"ms\":40.0,\"code\":7002,\"name\":\"piece\",\"start\":0,\"length\":18,"
        "\"text\":\"Say \\\"hi, you\\\" now.\",\"sample\":0,\"audioMs\":0.0}\n"))
        << json;
    EXPECT_EQ(exportTo("Export the subtitles as SRT", folder / "words.srt"),
              "1\n00:00:00,000 --> 00:00:00,180\nSay\n\n"
              "2\n00:00:00,180 --> 00:00:00,330\nhi\n\n"
              "3\n00:00:00,330 --> 00:00:00,500\nyou\n\n"
              "4\n00:00:00,500 --> 00:00:00,600\nnow\n\n");

    // One column per 10 ms: the 600 ms of audio, with the second block's low samples drawn
    // below the middle line and the first word's mark at column 0.
    exportTo("Export the waveform as PNG", folder / "wave.png");
    QImage image(QString::fromStdString((folder / "wave.png").string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 60 + 1);
    EXPECT_EQ(QColor(image.pixel(20, image.height() / 2 + 5)), QColor(30, 70, 150));
    EXPECT_EQ(QColor(image.pixel(20, image.height() / 2 - 5)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(0, image.height() - 1)), QColor(200, 40, 40));
    EXPECT_TRUE(m_recorders.messages->log().empty());
}

TEST_F(BenchMonitorTest, AnExportAsksBeforeReplacingAFileAlsoWhenItsExtensionIsAdded) {
    startProgram();
    scriptSpeech();
    command(context::IDM_BENCHMONITOR);
    speak();
    const std::filesystem::path existing = startupDirectory() / "log.csv";
    std::ofstream(existing) << "the user's file";

    // "log" is given without its extension: the export goes to log.csv, which exists.
    m_recorders.messages->queueAnswer(platform::MessageResult::No);
    exportTo("Export the event log as CSV", startupDirectory() / "log");
    EXPECT_EQ(readFile(existing), "the user's file");
    m_recorders.messages->queueAnswer(platform::MessageResult::Yes);
    EXPECT_TRUE(exportTo("Export the event log as CSV", existing).starts_with("ms,code"));

    testsupport::MessageEvent question;
    question.owner = monitor();
    question.text = QStringLiteral("%1 already exists.\nDo you want to replace it?")
                        .arg(QString::fromStdString(existing.string()));
    question.caption = QStringLiteral("Bench Monitor");
    question.icon = platform::MessageIcon::Question;
    question.buttons = platform::MessageButtons::YesNo;
    testsupport::MessageEvent declined = question;
    declined.result = platform::MessageResult::No;
    question.result = platform::MessageResult::Yes;
    EXPECT_EQ(m_recorders.messages->boxes(), (std::vector{declined, question}));
}

TEST_F(BenchMonitorTest, TheMonitorOpensBesideTheMainWindowOnTheScreen) {
    startProgram();
    command(context::IDM_BENCHMONITOR);
    const QRect area = mainWindow().screen()->availableGeometry();
    const QRect frame = monitor()->frameGeometry();
    // Within the screen; where its smallest size is wider or taller, from the screen's edge.
    const auto within = [](int first, int last, int areaFirst, int areaLast) {
        return first >= areaFirst && (last <= areaLast || first == areaFirst);
    };
    EXPECT_TRUE(within(frame.left(), frame.right(), area.left(), area.right()) &&
                within(frame.top(), frame.bottom(), area.top(), area.bottom()))
        << frame.x() << ',' << frame.y() << ' ' << frame.width() << 'x' << frame.height();
}

TEST_F(BenchMonitorTest, TheProgramsKeysCommandTheMainWindowFromTheMonitor) {
    startProgram();
    command(context::IDM_BENCHMONITOR);
    monitor()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(monitor()));
    const int slot = program().appState.Language - 1;
    program().appState.Volume[static_cast<std::size_t>(slot)] = 3;
    QTest::keyClick(monitor(), Qt::Key_F2);  // Defaults
    drain();
    EXPECT_EQ(program().appState.Volume[static_cast<std::size_t>(slot)], 8);
    QTest::keyClick(monitor(), Qt::Key_F1);
    drain();
    EXPECT_EQ(m_recorders.help->requests().size(), 1u);
}

TEST_F(BenchMonitorTest, AFileThatCannotBeWrittenIsReportedAndCancelWritesNothing) {
    startProgram();
    scriptSpeech();
    command(context::IDM_BENCHMONITOR);
    findNamed<QPushButton>("Export the event log as CSV")->click();
    speak();
    m_recorders.fileDialogs->queueAnswer(std::nullopt);
    findNamed<QPushButton>("Export the subtitles as WebVTT")->click();
    const std::string path = startupDirectory().string() + "/missing/log.csv";
    exportTo("Export the event log as CSV", path);

    testsupport::MessageEvent noRequest;
    noRequest.owner = monitor();
    noRequest.text = QStringLiteral("There is no request to export yet.");
    noRequest.caption = QStringLiteral("Bench Monitor");
    testsupport::MessageEvent failure = noRequest;
    failure.text =
        QStringLiteral("The file %1 could not be written.").arg(QString::fromStdString(path));
    failure.icon = platform::MessageIcon::Stop;
    EXPECT_EQ(m_recorders.messages->boxes(), (std::vector{noRequest, failure}));
    EXPECT_EQ(m_recorders.messages->beeps(),
              (std::vector{platform::BeepKind::Information, platform::BeepKind::Stop}));
    EXPECT_EQ(m_recorders.fileDialogs->requests().size(), 2u);
}

TEST_F(BenchMonitorTest, TheEngineIsWatchedOnlyWhileTheWindowIsOpen) {
    startProgram();
    scriptSpeech();
    speak();
    EXPECT_TRUE(m_engine.callsTo("SaymgrSetAudioTap").empty());
    EXPECT_EQ(program().session.speechObserver, nullptr);

    command(context::IDM_BENCHMONITOR);
    benchmonitor::MonitorWindow* window = monitor();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Bench Monitor"));
    EXPECT_TRUE(m_engine.hasAudioTap());
    command(context::IDM_BENCHMONITOR);  // raises the same window
    EXPECT_EQ(monitor(), window);

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(m_engine.hasAudioTap());
    EXPECT_EQ(program().session.speechObserver, nullptr);
    EXPECT_EQ(m_engine.callsTo("SaymgrSetAudioTap"),
              (std::vector<testsupport::EngineCall>{{"SaymgrSetAudioTap", {1, 1}},
                                                    {"SaymgrSetAudioTap", {1, 0}}}));
}

TEST_F(BenchMonitorTest, WithoutTheExtensionsTheFiguresComeFromArrivalTimes) {
    startProgram(false);
    scriptSpeech();
    command(context::IDM_BENCHMONITOR);
    speak();

    EXPECT_EQ(monitor()->model().latest()->log.events().size(), 7u);
    EXPECT_EQ(figures(), QStringLiteral("first audio: 40.0 ms\naudio length: 0.650 s\n"
                                        "real-time factor: 1.062\nwords per minute: 369.2\n"
                                        "mark lag: n/a\n"));
    EXPECT_EQ(findNamed<QLabel>("Notes")->text(),
              QStringLiteral("Audio positions are not available from this engine: times in the "
                             "audio come from the arrival of the notifications, and the mark lag "
                             "cannot be measured.\nThe waveform is not available from this "
                             "engine.\nPhonemes are not available from this engine."));
}

// What the window's backing store holds of `widget` is what a fresh paint of it gives.
void expectShownAsPainted(QWidget& widget, const char* what) {
    const QPoint origin = widget.mapTo(widget.window(), QPoint());
    const QImage shown = widget.screen()
                             ->grabWindow(widget.window()->winId(), origin.x(), origin.y(),
                                          widget.width(), widget.height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    const QImage painted = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(shown == painted) << what << " shows stale pixels";
}

// The views repaint only what changed while a request grows: rows appended to the event log
// until it scrolls, and the waveform's new audio until it turns a page. Nothing stale remains.
TEST_F(BenchMonitorTest, AGrowingRequestLeavesNothingStaleOnScreen) {
    startProgram();
    command(context::IDM_BENCHMONITOR);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(monitor()));
    after(40ms);
    m_engine.addPositionedNotification(SAYMGR_NOTIFY_START, 0, 0, 0);
    m_engine.addPositionedNotification(SAYMGR_NOTIFY_CHUNK, 18, 0, 0);
    constexpr int kWords = 40;
    constexpr int kWordSamples = 500;
    for (int word = 0; word < kWords; ++word) {
        m_engine.addAudio(kWordSamples, word % 2 == 0 ? 3000 : -8000);
        m_engine.addPositionedNotification(SAYMGR_NOTIFY_MARK1, 3, 0, word * kWordSamples);
        after(500ms);
        if (word % 3 == 2) {
            m_engine.addAction([this] {
                monitor()->refresh();
                QCoreApplication::processEvents();
            });
        }
    }
    m_engine.addPositionedNotification(SAYMGR_NOTIFY_END, 0, 0, kWords * kWordSamples);
    speak();
    QCoreApplication::processEvents();

    expectShownAsPainted(*findNamed<QTableView>("Event log")->viewport(), "the event log");
    expectShownAsPainted(*findNamed<QScrollArea>("Waveform with word marks")->viewport(),
                         "the waveform");
}

TEST(EnvelopeTest, KeepsTheLowestAndHighestSampleOfEachTenMilliseconds) {
    benchmonitor::Envelope envelope;
    // 11025 Hz: 110.25 samples to a bucket; the blocks cross bucket borders.
    const std::vector<int16_t> first(100, 5);
    std::vector<int16_t> second(130, -7);
    second[20] = 300;
    envelope.add(first, 0, 11025);
    envelope.add(second, 100, 11025);
    EXPECT_EQ(envelope.buckets(),
              (std::vector<benchmonitor::Envelope::Bucket>{{-7, 5}, {-7, 300}, {-7, -7}}));
    EXPECT_NEAR(envelope.audioMs(), 230 * 1000.0 / 11025, 1e-9);
}

// A word that would run into the one before it goes on the next free line; when all lines are
// taken, on the one that frees up first.
TEST(WordLabelsTest, WordsThatWouldOverlapGoOnFreeLines) {
    benchmonitor::WordLabels labels(QFont(QStringLiteral("DejaVu Sans"), 9));
    const QString word = QStringLiteral("hippopotamus");
    const int wide = QFontMetrics(QFont(QStringLiteral("DejaVu Sans"), 9)).horizontalAdvance(word);
    const std::vector<int> columns{0, 10, 20, 25, wide + 20};
    std::vector<int> lines;
    for (std::size_t mark = 0; mark < columns.size(); ++mark) {
        lines.push_back(labels.place(mark, columns[mark], [&] { return word.toStdString(); }).line);
    }
    EXPECT_EQ(lines, (std::vector<int>{0, 1, 2, 0, 1}));
}

// A report of a check where "Tom" changed: its case is listed after the failed one, and its
// word plays as the reference said it and as the checked build did; a word the new build did
// not mark has nothing to play on that side.
TEST_F(BenchMonitorTest, ASuiteReportListsItsChangedCasesAndPlaysAChangedWordOldAndNew) {
    startProgram();
    command(context::IDM_BENCHMONITOR);
    const auto folder = startupDirectory();
    std::ofstream(folder / "old.flac") << "sound";
    std::ofstream(folder / "new.flac") << "sound";
    suite::CaseResult changed;
    changed.position = 1;
    changed.id = "tom";
    changed.text = "Tom and Jerry";
    changed.status = suite::CaseStatus::Changed;
    suite::WordChange tom;
    tom.start = 0;
    tom.text = "Tom";
    tom.ipaBefore = "tˈɒm";
    tom.ipaAfter = "tˈʌm";
    tom.phonemesChanged = true;
    suite::WordChange jerry = tom;
    jerry.start = 8;
    jerry.text = "Jerry";
    changed.words = {tom, jerry};
    changed.before =
        suite::ShownRendering{(folder / "old.flac").string(),
                              {},
                              {{0, "Tom", 100, 2300, true}, {8, "Jerry", 4000, 7000, true}}};
    changed.after =
        suite::ShownRendering{(folder / "new.flac").string(), {}, {{0, "Tom", 120, 2900, true}}};
    suite::CaseResult failed;
    failed.id = "bad";
    failed.status = suite::CaseStatus::Failed;
    failed.error = "unknown language";
    const suite::SuiteReport report{"smoke", 2, {}, {}, {}, {failed, changed}};
    std::ofstream(folder / "report.json") << suite::reportJson(report);

    m_recorders.fileDialogs->queueAnswer(QString::fromStdString((folder / "report.json").string()));
    findNamed<QPushButton>("Open a regression suite's report")->click();
    auto* window = monitor()->findChild<benchmonitor::SuiteReportWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Suite Report: smoke");
    const auto* cases = window->findChild<QTableWidget*>();
    ASSERT_EQ(cases->rowCount(), 2);
    EXPECT_EQ(cases->item(0, 0)->text() + " " + cases->item(1, 0)->text(), "bad tom");

    const auto playButton = [window](const char* name) {
        for (auto* button : window->findChildren<QPushButton*>()) {
            if (button->accessibleName() == QLatin1String(name)) {
                return button;
            }
        }
        return static_cast<QPushButton*>(nullptr);
    };
    QPushButton* playOld = playButton("Play the word as the reference said it");
    QPushButton* playNew = playButton("Play the word as the checked build said it");
    window->choose(1, 0);
    playOld->click();
    playNew->click();
    window->choose(1, 1);
    EXPECT_TRUE(playOld->isEnabled());
    EXPECT_FALSE(playNew->isEnabled());
    playOld->click();
    const std::vector<testsupport::PlayedExcerpt> expected{{folder / "old.flac", 100, 2200},
                                                           {folder / "new.flac", 120, 2780},
                                                           {folder / "old.flac", 4000, 3000}};
    EXPECT_EQ(m_recorders.sounds->played(), expected);

    std::ofstream(folder / "other.json") << "{\"cases\": []}";
    m_recorders.fileDialogs->queueAnswer(QString::fromStdString((folder / "other.json").string()));
    findNamed<QPushButton>("Open a regression suite's report")->click();
    ASSERT_EQ(m_recorders.messages->boxes().size(), 1u);
    EXPECT_TRUE(m_recorders.messages->boxes()[0].text.contains("is not a suite report"));
}

}  // namespace
}  // namespace benchmonitortest
