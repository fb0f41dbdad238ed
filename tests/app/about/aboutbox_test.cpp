#include "about/aboutbox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "about/creditsdialogs.h"
#include "context/commandids.h"
#include "platform/postedmessage.h"
#include "resources/dialogtemplates.h"
#include "shellfixture.h"

namespace shelltest {
namespace {

constexpr Qt::KeyboardModifiers kControlAlt = Qt::ControlModifier | Qt::AltModifier;

// Keys reach a dialog as the window system delivers them.
void click(QDialog& dialog, Qt::Key key, Qt::KeyboardModifiers held = Qt::NoModifier) {
    QTest::keyClick(dialog.windowHandle(), key, held);
    QCoreApplication::processEvents();
}

QPushButton& button(QDialog& dialog, int id) {
    return *qobject_cast<QPushButton*>(platform::findItem(dialog, id));
}

QString hintOf(QDialog& dialog) {
    return qobject_cast<QLabel*>(platform::findItem(dialog, resources::kGroupPictureHint))->text();
}

// What the About box shows and what the hooks are doing, at one moment.
struct Seen {
    QString dialog;
    bool hookInstalled = false;
    bool suspended = false;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* out) {
    *out << '"' << seen.dialog.toStdString() << "\" hook " << seen.hookInstalled << " suspended "
         << seen.suspended;
}

class AboutBoxTest : public ShellFixture {
  protected:
    Seen seen() const {
        const QWidget* modal = QApplication::activeModalWidget();
        return {modal ? modal->windowTitle() : QString(), program().hooks.keyboardHook != nullptr,
                program().hooks.hooksSuspended};
    }
};

TEST_F(AboutBoxTest, OwnsTheKeyboardHookUntilItsFirstCommand) {
    startTwoLanguages();
    std::vector<Seen> seenInBox;
    whenModalShown([&](QDialog& box) {
        EXPECT_EQ(program().hooks.hookTargetWindow, &box);
        seenInBox.push_back(seen());
        click(box, Qt::Key_F5);  // reaches the box, not the main window
        seenInBox.push_back(seen());
        click(box, Qt::Key_End, kControlAlt);
        seenInBox.push_back(seen());
        click(box, Qt::Key_Escape);
    });
    command(context::IDM_ABOUT);
    const QString about = QStringLiteral("About Quenvar Voxtrial ...");
    const std::vector<Seen> expected{
        {about, true, false}, {about, false, true}, {about, false, true}};
    EXPECT_EQ(seenInBox, expected);
    EXPECT_EQ(seen(), (Seen{{}, false, true}));
    EXPECT_EQ(program().hooks.hookTargetWindow, m_program->mainWindow());
    EXPECT_TRUE(m_engine.callsTo("EngineSpeak").empty());
}

TEST_F(AboutBoxTest, CreditsOpenByTheirKeysOneAtATime) {
    startTwoLanguages();
    std::vector<Seen> seenInCredits;
    QString hintInPhoto;
    whenModalShown([&](QDialog& box) {
        whenModalShown([&](QDialog& support) {
            seenInCredits.push_back(seen());
            const QPointer<QTimer> stacked = whenModalShown([&](QDialog& second) {
                seenInCredits.push_back({second.windowTitle(), false, false});
                second.done(1);
            });
            click(support, Qt::Key_Insert, kControlAlt);
            platform::postMessage(&box, context::UM_CREDITSSUPPORT);  // queued before suspension
            drain();
            delete stacked.data();
            seenInCredits.push_back(seen());
            click(support, Qt::Key_Escape);
        });
        click(box, Qt::Key_End, kControlAlt);
        seenInCredits.push_back(seen());
        whenModalShown([&](QDialog& photo) {
            seenInCredits.push_back(seen());
            hintInPhoto = hintOf(photo);
            button(photo, resources::kGroupPictureClose).click();
        });
        click(box, Qt::Key_Insert, kControlAlt);
        button(box, resources::kAboutOk).click();
    });
    command(context::IDM_ABOUT);
    const QString about = QStringLiteral("About Quenvar Voxtrial ...");
    const QString support = QStringLiteral("Members of Supporting Group");
    const std::vector<Seen> expected{{support, true, true},
                                     {support, true, true},
                                     {about, true, false},
                                     {QStringLiteral("All members of Text-To-Speech"), true, true}};
    EXPECT_EQ(seenInCredits, expected);
    EXPECT_EQ(hintInPhoto, "Please click on the picture to look at the list of names!");
    EXPECT_EQ(seen(), (Seen{{}, false, true}));
}

TEST_F(AboutBoxTest, OpensWithoutItsHookWhenTheHookCannotBeInstalled) {
    startTwoLanguages();
    program().hooks.installHook = [](QObject&) { return false; };
    std::vector<Seen> seenInBox;
    whenModalShown([&](QDialog& box) {
        click(box, Qt::Key_End, kControlAlt);
        seenInBox.push_back(seen());
        box.reject();
    });
    command(context::IDM_ABOUT);
    EXPECT_EQ(seenInBox,
              (std::vector<Seen>{{QStringLiteral("About Quenvar Voxtrial ..."), false, false}}));
    ASSERT_EQ(m_recorders.messages->boxes().size(), 1u);
    EXPECT_EQ(m_recorders.messages->boxes()[0].text, "Keyboard hook error!");
}

TEST_F(AboutBoxTest, GroupPictureSwitchesWithEachClickAndOnlyCloseEndsIt) {
    startTwoLanguages();
    about::GroupPictureDialog photo(program(), nullptr);
    QDialog& dialog = photo.dialog();
    // A caption with no buttons: the window manager is asked for no close box.
    EXPECT_EQ(dialog.windowFlags() & (Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint |
                                      Qt::WindowSystemMenuHint | Qt::WindowTitleHint),
              Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QPushButton& picture = button(dialog, resources::kGroupPicture);
    EXPECT_EQ(QApplication::focusWidget(), &picture);  // Space switches, not closes
    std::vector<std::pair<bool, QString>> shown{{photo.photoShowsNames(), hintOf(dialog)}};
    for (int clickCount = 0; clickCount < 2; ++clickCount) {
        picture.click();
        shown.emplace_back(photo.photoShowsNames(), hintOf(dialog));
        EXPECT_FALSE(picture.icon().isNull());
    }
    const QString toNames =
        QStringLiteral("Please click on the picture to look at the list of names!");
    const QString toPicture =
        QStringLiteral("Please click on the list of names to look at the picture!");
    EXPECT_EQ(shown, (std::vector<std::pair<bool, QString>>{
                         {false, toNames}, {true, toPicture}, {false, toNames}}));

    click(dialog, Qt::Key_Escape);
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    button(dialog, resources::kGroupPictureClose).click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_TRUE(m_recorders.messages->log().empty());
}

}  // namespace
}  // namespace shelltest
