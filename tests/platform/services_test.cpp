#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>

#include "platform/keyboardstate.h"
#include "platform/services.h"
#include "testsupport/recordingservices.h"
#include "testsupport/temporaryfolder.h"

namespace {

using platform::BeepKind;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

QTextBrowser* visibleHelpWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* browser = qobject_cast<QTextBrowser*>(widget); browser && browser->isVisible()) {
            return browser;
        }
    }
    return nullptr;
}

TEST(DesktopServices, HelpShowsReadableFilesInOneReusedWindowAndRefusesMissingOnes) {
    testsupport::TemporaryFolder folder;
    writeText(folder.path() / "HELP_DE.HTM",
              "<!DOCTYPE html>\r\n<html><head><meta charset=\"windows-1252\"></head>"
              "<body><h1>Contents</h1>Hilfe f\xFCr Deutsch</body></html>");
    writeText(folder.path() / "german.txt", "Sprachausgabe f\xFCr alle\n");
    platform::Services services = platform::makeDesktopServices(folder.path().string());

    EXPECT_FALSE(services.help->show(
        nullptr, QString::fromStdString((folder.path() / "absent.hlp").string())));
    EXPECT_EQ(visibleHelpWindow(), nullptr);

    ASSERT_TRUE(services.help->show(
        nullptr, QString::fromStdString((folder.path() / "HELP_DE.HTM").string())));
    QTextBrowser* window = visibleHelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->toPlainText().contains(QString::fromUtf8("Hilfe für Deutsch")))
        << window->toPlainText().toStdString();

    ASSERT_TRUE(services.help->show(
        nullptr, QString::fromStdString((folder.path() / "german.txt").string())));
    EXPECT_EQ(visibleHelpWindow(), window);
    EXPECT_TRUE(window->toPlainText().contains(QString::fromUtf8("für alle")))
        << "a help text that is not UTF-8 is read as Windows-1252";
}

TEST(DesktopServices, HelpOpenedFromAWindowInTheScreensCornerStaysOnTheScreen) {
    testsupport::TemporaryFolder folder;
    writeText(folder.path() / "help.txt", "Help text");
    const platform::Services services = platform::makeDesktopServices(folder.path().string());
    QWidget corner;  // like the mini panel, in the screen's top right corner
    const QRect area = corner.screen()->availableGeometry();
    corner.setGeometry(area.right() - 147, area.top() + 30, 148, 47);
    corner.show();
    ASSERT_TRUE(services.help->show(&corner,
                                    QString::fromStdString((folder.path() / "help.txt").string())));
    QTextBrowser* help = visibleHelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(area.contains(help->geometry()))
        << help->geometry().x() << ',' << help->geometry().y();
    help->close();
}

TEST(DesktopServices, TheAllFilesFilterListsNamesWithoutADotToo) {
    testsupport::TemporaryFolder folder;
    const platform::Services services = platform::makeDesktopServices(folder.path().string());
    QStringList shownFilters;
    QTimer::singleShot(0, [&shownFilters] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* model = dialog->findChild<QFileSystemModel*>();
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(model, nullptr);
        ASSERT_NE(types, nullptr);
        shownFilters << model->nameFilters().join(' ');
        // As the combo box tells of a user's choice.
        types->setCurrentIndex(1);
        emit types->activated(1);
        emit types->textActivated(types->currentText());
        shownFilters << types->currentText() + ": " + model->nameFilters().join(' ');
        dialog->reject();
    });
    EXPECT_EQ(services.fileDialogs->openFile(nullptr, QStringLiteral("Open a Text File"),
                                             QString::fromStdString(folder.path().string()),
                                             QStringLiteral("Text Files (*.txt);;all Files (*.*)")),
              std::nullopt);
    EXPECT_EQ(shownFilters, (QStringList{"*.txt", "all Files (*.*): *"}));
}

TEST(DesktopServices, ClipboardTextTravelsAsWindows1252) {
    platform::Services services = platform::makeDesktopServices("/");
    services.clipboard->setAnsiText("caf\xE9 \x80");
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("café €"));
    QApplication::clipboard()->setText(QString::fromUtf8("naïve π"));
    EXPECT_EQ(services.clipboard->ansiText(), std::optional<std::string>("na\xEFve ?"));
}

TEST(RecordingServices, RecordBeepsAndBoxesInOrderAndAnswerFromTheScript) {
    testsupport::RecordingServices recording = testsupport::makeRecordingServices();
    platform::MessageService& messages = *recording.services.messages;
    QWidget owner;
    messages.beep(BeepKind::Information);
    EXPECT_EQ(messages.show(&owner, "Text", "Error", MessageIcon::Information, MessageButtons::Ok),
              MessageResult::Ok);
    EXPECT_EQ(messages.show(nullptr, "Quit?", "Q", MessageIcon::Question, MessageButtons::YesNo),
              MessageResult::Yes);
    recording.messages->queueAnswer(MessageResult::No);
    EXPECT_EQ(messages.show(nullptr, "Again?", "Q", MessageIcon::Question, MessageButtons::YesNo),
              MessageResult::No);

    const auto& log = recording.messages->log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_TRUE(log[0].isBeep());
    EXPECT_EQ(log[0].beep, BeepKind::Information);
    EXPECT_TRUE(log[1].isBox());
    EXPECT_EQ(log[1].owner, &owner);
    EXPECT_EQ(log[1].text, "Text");
    EXPECT_EQ(log[1].caption, "Error");
    EXPECT_EQ(recording.messages->boxes().size(), 3u);
    EXPECT_EQ(recording.messages->beeps(), std::vector<BeepKind>{BeepKind::Information});
}

TEST(RecordingServices, FileDialogsAnswerFromTheScriptThenCancel) {
    testsupport::RecordingServices recording = testsupport::makeRecordingServices();
    recording.fileDialogs->queueAnswer(QString("/tmp/a.txt"));
    platform::FileDialogService& dialogs = *recording.services.fileDialogs;
    EXPECT_EQ(dialogs.openFile(nullptr, "Open", "/tmp", "Text (*.txt)"), QString("/tmp/a.txt"));
    EXPECT_EQ(dialogs.saveFile(nullptr, "Save", "/tmp", "Wave (*.wav)"), std::nullopt);
    ASSERT_EQ(recording.fileDialogs->requests().size(), 2u);
    EXPECT_EQ(recording.fileDialogs->requests()[1].kind,
              testsupport::FileDialogRequest::Kind::Save);
    EXPECT_EQ(recording.fileDialogs->requests()[1].filter, "Wave (*.wav)");
}

// Records the key releases it receives.
class KeyWidget : public QWidget {
  public:
    std::vector<int> released;

  protected:
    void keyReleaseEvent(QKeyEvent* event) override { released.push_back(event->key()); }
};

TEST(KeyboardState, ReleasingControlTellsTheFocusedWidget) {
    KeyWidget widget;
    widget.setFocusPolicy(Qt::StrongFocus);
    widget.show();
    QApplication::setActiveWindow(&widget);
    widget.setFocus();
    if (QApplication::focusWidget() != &widget) {
        GTEST_SKIP() << "this window system gives no focus";
    }
    EXPECT_FALSE(platform::isControlKeyDown());
    platform::releaseControlKey();
    EXPECT_EQ(widget.released, std::vector<int>{Qt::Key_Control});
}

}  // namespace
