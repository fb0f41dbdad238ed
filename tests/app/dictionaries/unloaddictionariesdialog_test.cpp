#include "dictionaries/unloaddictionariesdialog.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "context/commandids.h"
#include "dictionaryfixture.h"
#include "engine/errorreport.h"
#include "resources/buttonpictures.h"
#include "resources/dialogtemplates.h"

namespace dictionarytest {
namespace {

using dictionaries::UnloadDictionariesDialog;
using List = UnloadDictionariesDialog::List;
using testsupport::EngineArg;
using testsupport::EngineCall;
using Args = std::vector<EngineArg>;

// What the dialog shows: both lists in order, the selected entries of both, the two pictures.
struct DialogLook {
    QStringList loaded;
    QStringList unload;
    QStringList selected;
    int loadPicture = resources::kLoadInactive;
    int unloadPicture = resources::kUnloadInactive;
    bool operator==(const DialogLook&) const = default;
};

void PrintTo(const DialogLook& look, std::ostream* out) {
    *out << "{loaded [" << look.loaded.join(',').toStdString() << "] unload ["
         << look.unload.join(',').toStdString() << "] selected ["
         << look.selected.join(',').toStdString() << "] pictures " << look.loadPicture << ' '
         << look.unloadPicture << '}';
}

QStringList entries(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts << list.item(row)->text();
    return texts;
}

QStringList selectedEntries(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->isSelected())
            texts << list.item(row)->text();
    }
    return texts;
}

QPoint entryCentre(QListWidget& list, const QString& text) {
    const QList<QListWidgetItem*> found = list.findItems(text, Qt::MatchExactly);
    EXPECT_EQ(found.size(), 1) << text.toStdString();
    return found.isEmpty() ? QPoint() : list.visualItemRect(found.first()).center();
}

void click(QListWidget& list, const QString& text) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, entryCentre(list, text));
}

// As the window system delivers it: a click, then the double click.
void doubleClick(QListWidget& list, const QString& text) {
    const QPoint centre = entryCentre(list, text);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
}

QListWidget& listOf(QDialog& dialog, int id) {
    return *static_cast<QListWidget*>(platform::findItem(dialog, id));
}

void press(QDialog& dialog, int id) {
    static_cast<QPushButton*>(platform::findItem(dialog, id))->click();
}

class UnloadDictionariesTest : public DictionaryFixture {
  protected:
    void startWith(const QStringList& paths) {
        startProgram();
        for (const QString& path : paths)
            load(path.toStdString());
        m_engine.clearCalls();
    }
    DialogLook look(const UnloadDictionariesDialog& dialog) const {
        QListWidget& loaded = dialog.list(List::Loaded);
        QListWidget& unload = dialog.list(List::Unload);
        return {entries(loaded), entries(unload), selectedEntries(loaded) + selectedEntries(unload),
                dialog.loadPicture(), dialog.unloadPicture()};
    }
    // Runs the Unload Dictionary command; `act` drives the open dialog as a user would.
    void unloadCommand(std::function<void(QDialog&)> act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        command(context::IDM_UNLOADDICT);
    }
};

TEST_F(UnloadDictionariesTest, OpensWithTheLanguagesDictionariesSortedAndEveryControlNamed) {
    startWith({"/d/cats.dcb", "/d/SAMPLE_EN.DCB", "/d/apes.dcb", "/d/bats.dct"});
    const UnloadDictionariesDialog dialog(program(), &mainWindow());

    // In reading order, whatever the case of the names.
    EXPECT_EQ(
        look(dialog),
        DialogLook({"/d/apes.dcb", "/d/bats.dct", "/d/cats.dcb", "/d/SAMPLE_EN.DCB"}, {}, {}));
    EXPECT_EQ(dialog.dialog().windowTitle(), "Unload User Dictionaries");
    EXPECT_EQ(dialog.dialog().parentWidget(), &mainWindow());
    EXPECT_EQ(
        static_cast<QLineEdit*>(platform::findItem(dialog.dialog(), resources::kLanguageNameField))
            ->text(),
        "German");
    for (QWidget* control : dialog.dialog().findChildren<QWidget*>()) {
        if (control->focusPolicy() & Qt::TabFocus) {
            EXPECT_FALSE(
                QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
                << control->objectName().toStdString();
        }
    }
}

TEST(MoveButtonPictures, AreFourDistinctPicturesOf85By25Pixels) {
    const std::vector<int> ids{resources::kLoadInactive, resources::kUnloadInactive,
                               resources::kLoadActive, resources::kUnloadActive};
    std::vector<QImage> pictures;
    for (const int id : ids) {
        pictures.push_back(resources::loadMoveButtonPicture(id).toImage());
        EXPECT_EQ(pictures.back().size(), QSize(85, 25)) << id;
        for (std::size_t other = 0; other + 1 < pictures.size(); ++other)
            EXPECT_NE(pictures[other], pictures.back()) << ids[other] << " " << id;
    }
}

TEST_F(UnloadDictionariesTest, SelectingInOneListClearsTheOtherAndLightsTheButtonThatMovesOut) {
    startWith({"/d/a.dcb", "/d/b.dcb", "/d/c.dcb"});
    UnloadDictionariesDialog dialog(program(), &mainWindow());
    dialog.dialog().show();
    QListWidget& loaded = dialog.list(List::Loaded);
    QListWidget& unload = dialog.list(List::Unload);
    std::vector<DialogLook> looks;

    click(loaded, "/d/a.dcb");
    looks.push_back(look(dialog));
    press(dialog.dialog(), resources::kUnloadButton);
    looks.push_back(look(dialog));
    click(loaded, "/d/b.dcb");
    click(unload, "/d/a.dcb");
    looks.push_back(look(dialog));
    click(unload, "/d/a.dcb");
    looks.push_back(look(dialog));

    const QStringList rest{"/d/b.dcb", "/d/c.dcb"};
    EXPECT_EQ(
        looks,
        (std::vector<DialogLook>{
            {{"/d/a.dcb", "/d/b.dcb", "/d/c.dcb"},
             {},
             {"/d/a.dcb"},
             resources::kLoadInactive,
             resources::kUnloadActive},
            {rest, {"/d/a.dcb"}, {}},
            {rest, {"/d/a.dcb"}, {"/d/a.dcb"}, resources::kLoadActive, resources::kUnloadInactive},
            {rest, {"/d/a.dcb"}, {}},
        }));
}

TEST_F(UnloadDictionariesTest, AGreyButtonStillMovesAndADoubleClickMovesJustItsEntry) {
    startWith({"/d/a.dcb", "/d/b.dcb", "/d/c.dcb"});
    UnloadDictionariesDialog dialog(program(), &mainWindow());
    dialog.dialog().show();
    QListWidget& loaded = dialog.list(List::Loaded);
    QListWidget& unload = dialog.list(List::Unload);
    std::vector<DialogLook> looks;

    click(loaded, "/d/a.dcb");
    click(loaded, "/d/c.dcb");
    press(dialog.dialog(), resources::kLoadButton);
    looks.push_back(look(dialog));
    press(dialog.dialog(), resources::kUnloadButton);
    looks.push_back(look(dialog));
    click(unload, "/d/a.dcb");
    doubleClick(loaded, "/d/b.dcb");
    looks.push_back(look(dialog));

    EXPECT_EQ(looks, (std::vector<DialogLook>{
                         {{"/d/a.dcb", "/d/b.dcb", "/d/c.dcb"}, {}, {"/d/a.dcb", "/d/c.dcb"}},
                         {{"/d/b.dcb"}, {"/d/a.dcb", "/d/c.dcb"}, {}},
                         {{}, {"/d/a.dcb", "/d/b.dcb", "/d/c.dcb"}, {}},
                     }));
}

TEST_F(UnloadDictionariesTest, TheKeyboardReachesAndMovesEverything) {
    startWith({"/d/a.dcb", "/d/b.dcb"});
    UnloadDictionariesDialog dialog(program(), &mainWindow());
    QDialog& window = dialog.dialog();
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QStringList reached;
    for (int step = 0; step < 7; ++step) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << reached.join(',').toStdString();
        reached << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    EXPECT_EQ(reached.join(',').toStdString(),
              "item1,item2,item701,item702,item703,item705,item706");

    dialog.list(List::Loaded).setFocus();
    QTest::keyClick(&dialog.list(List::Loaded), Qt::Key_Space);
    QTest::keyClick(platform::findItem(window, resources::kUnloadButton), Qt::Key_Space);
    EXPECT_EQ(look(dialog), DialogLook({"/d/b.dcb"}, {"/d/a.dcb"}, {}));
}

TEST_F(UnloadDictionariesTest,
       OkUnloadsTheListedDictionariesAndFreesTheirSlotsWhateverTheEngineSays) {
    startWith({"/d/a.dcb", "/d/b.dcb", "/d/c.dcb", "/d/d.dcb"});
    m_engine.queueStatus("EngineUnloadDictionary", SAYMGR_EDICT_HANDLE);
    unloadCommand([](QDialog& dialog) {
        QListWidget& loaded = listOf(dialog, resources::kLoadedList);
        QListWidget& unload = listOf(dialog, resources::kUnloadList);
        doubleClick(loaded, "/d/c.dcb");
        doubleClick(loaded, "/d/a.dcb");
        doubleClick(loaded, "/d/d.dcb");
        doubleClick(unload, "/d/d.dcb");
        press(dialog, 1);
    });

    EXPECT_EQ(m_engine.calls(), (std::vector<EngineCall>{{"EngineUnloadDictionary", Args{1, 1}},
                                                         {"EngineUnloadDictionary", Args{1, 3}}}));
    EXPECT_EQ(messageLog(),
              (std::vector<std::string>{"beep Information",
                                        "box dialog700 Error Information Ok: " +
                                            engine::errorText(SAYMGR_EDICT_HANDLE).toStdString()}));
    load("/d/e.dcb");
    EXPECT_EQ(
        usedSlots(),
        (std::vector<Slot>{{0, "/d/e.dcb", 2, 5}, {1, "/d/b.dcb", 2, 2}, {3, "/d/d.dcb", 2, 4}}));
}

TEST_F(UnloadDictionariesTest, CancelAndEscapeUnloadNothing) {
    startWith({"/d/a.dcb", "/d/b.dcb"});
    const context::AppState before = program().appState;
    for (const bool escape : {false, true}) {
        unloadCommand([escape](QDialog& dialog) {
            doubleClick(listOf(dialog, resources::kLoadedList), "/d/a.dcb");
            if (escape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                press(dialog, 2);
            EXPECT_FALSE(dialog.isVisible());
        });
    }
    EXPECT_TRUE(m_engine.calls().empty());
    EXPECT_EQ(program().appState, before);
}

}  // namespace
}  // namespace dictionarytest
