#include "engine/menubar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <string>
#include <vector>

namespace {

using context::LanguageColumn;
using engine::MenuBar;
using Items = std::vector<std::string>;

// One line per item: "text command", "-" for a separator, "> title" for a sub-menu.
Items itemsOf(const QMenu* menu) {
    Items items;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            items.push_back("-");
        } else if (action->menu()) {
            items.push_back("> " + action->menu()->title().toStdString());
        } else {
            items.push_back(action->text().toStdString() + " " +
                            std::to_string(action->data().toInt()));
        }
    }
    return items;
}

Items titlesOf(const MenuBar& bar) {
    Items titles;
    for (const QAction* action : bar.actions()) {
        titles.push_back(action->text().toStdString());
    }
    return titles;
}

const QMenu* submenu(const MenuBar& bar, const std::string& title) {
    for (const QAction* action : bar.topMenu(2)->actions()) {
        if (action->menu() && action->menu()->title().toStdString() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

class MenuBarTest : public ::testing::Test {
  protected:
    void offer(int slot, const std::string& menuText) {
        m_state.available[slot] = 1;
        m_table.setText(slot, LanguageColumn::MenuText, menuText);
    }
    std::unique_ptr<MenuBar> build(bool extended) {
        return MenuBar::build(m_state, m_table, extended,
                              [this](int command) { m_dispatched.push_back(command); });
    }

    context::AppState m_state;
    context::LanguageTable m_table;
    std::vector<int> m_dispatched;
};

TEST_F(MenuBarTest, NormalModeHasEveryItemInPlace) {
    offer(0, "English US");
    offer(1, "German DE");
    const auto bar = build(false);
    ASSERT_TRUE(bar);

    EXPECT_EQ(titlesOf(*bar), (Items{"&File", "&Mode", "&Options", "&Help"}));
    EXPECT_EQ(bar->helpMenuPosition(), 3);
    EXPECT_EQ(itemsOf(bar->topMenu(0)), (Items{"&Open 100", "-", "&Load Dictionary 102",
                                               "&Unload Dictionary 103", "-", "E&xit 101"}));
    EXPECT_EQ(itemsOf(bar->topMenu(1)), (Items{"&File 135", "&Keyboard 137"}));
    EXPECT_EQ(itemsOf(bar->topMenu(2)),
              (Items{"> &Language", "> &Frequency", "&ShowMessage 140", "-", "System &Mode 115",
                     "-", "&Defaults 114", "-", "&Bench Monitor... 170"}));
    EXPECT_EQ(itemsOf(submenu(*bar, "&Language")), (Items{"English US 600", "German DE 601"}));
    EXPECT_EQ(itemsOf(submenu(*bar, "&Frequency")),
              (Items{"8 kHz 133", "10 kHz 131", "11.025 kHz 132"}));
    EXPECT_EQ(submenu(*bar, "&Speaker"), nullptr);
    EXPECT_EQ(itemsOf(bar->topMenu(3)), (Items{"&Contents 116", "Language Dependent 118", "-",
                                               "&About... 117", "About &TTS Engine ... 119"}));
    EXPECT_EQ(bar->topMenu(4), nullptr);
}

TEST_F(MenuBarTest, ExtendedModeAddsSpeakerSevenKilohertzAcceleratorAndGenFile) {
    offer(0, "English US");
    const auto bar = build(true);
    ASSERT_TRUE(bar);

    EXPECT_EQ(titlesOf(*bar), (Items{"&File", "&Mode", "&Options", "&GenFile", "&Help"}));
    EXPECT_EQ(bar->helpMenuPosition(), 4);
    EXPECT_EQ(itemsOf(bar->topMenu(0)), (Items{"&Open 100", "-", "&Load Dictionary 102",
                                               "&Unload Dictionary 103", "-", "E&xit 101"}));
    EXPECT_EQ(itemsOf(bar->topMenu(2)),
              (Items{"> &Language", "> &Speaker", "> &Frequency", "Set &Accelerator 141",
                     "&ShowMessage 140", "-", "System Mode 115", "-", "&Defaults 114", "-",
                     "&Bench Monitor... 170"}));
    EXPECT_EQ(
        itemsOf(submenu(*bar, "&Speaker")),
        (Items{"Speaker 1 500", "Speaker 2 501", "Speaker 3 502", "Speaker 4 503", "Speaker 5 504",
               "Speaker 6 505", "Speaker 7 506", "Speaker 8 507", "Speaker 9 508"}));
    EXPECT_EQ(itemsOf(submenu(*bar, "&Frequency")),
              (Items{"7.2 kHz 134", "8 kHz 133", "10 kHz 131", "11.025 kHz 132"}));
    EXPECT_EQ(itemsOf(bar->topMenu(3)),
              (Items{"16 bit Linear 161", "Mu-Law PCM 162", "A-Law PCM 163",
                     "16 bit Wave Format 164", "8 bit Wave Format 165"}));
    EXPECT_EQ(itemsOf(bar->topMenu(4)), (Items{"&Contents 116", "Language Dependent 118", "-",
                                               "&About... 117", "About &TTS Engine ... 119"}));
}

TEST_F(MenuBarTest, LanguageCommandsFollowTheSlotNotThePosition) {
    offer(0, "English US");
    offer(3, "French FR");
    m_state.available[1] = -1;  // no settings entry, no engine language
    m_state.available[2] = 0;
    const auto bar = build(false);
    EXPECT_EQ(itemsOf(submenu(*bar, "&Language")), (Items{"English US 600", "French FR 603"}));

    for (int slot = 0; slot < context::kLanguageSlots; ++slot) {
        offer(slot, std::string("L").append(std::to_string(slot)));
    }
    const auto full = build(false);
    const Items items = itemsOf(submenu(*full, "&Language"));
    ASSERT_EQ(items.size(), 25u);
    EXPECT_EQ(items.front(), "L0 600");
    EXPECT_EQ(items.back(), "L24 624");
}

TEST_F(MenuBarTest, EveryItemStartsEnabledAndUnchecked) {
    offer(0, "English US");
    const auto bar = build(true);
    for (int command : {100, 101, 102, 103, 114, 115, 116, 117, 118, 119, 131, 132,
                        133, 134, 135, 137, 140, 141, 161, 165, 500, 508, 600}) {
        const QAction* action = bar->action(command);
        ASSERT_NE(action, nullptr) << command;
        EXPECT_TRUE(action->isEnabled()) << command;
        EXPECT_FALSE(action->isChecked()) << command;
    }
    EXPECT_EQ(bar->action(136), nullptr);  // the Clipboard source has no item
}

TEST_F(MenuBarTest, ChoosingAnItemDispatchesItsCommandAndLeavesChecksToTheProgram) {
    const auto bar = build(false);
    bar->setChecked(140, true);
    bar->action(140)->trigger();
    bar->action(135)->trigger();
    EXPECT_EQ(m_dispatched, (std::vector<int>{140, 135}));
    EXPECT_TRUE(bar->isChecked(140));
    EXPECT_FALSE(bar->isChecked(135));

    bar->setChecked(140, false);
    EXPECT_FALSE(bar->isChecked(140));
    bar->setCheckedRange(131, 133, true);
    EXPECT_TRUE(bar->isChecked(131) && bar->isChecked(132) && bar->isChecked(133));
    bar->setChecked(999, true);  // no such item: nothing happens
}

TEST_F(MenuBarTest, ReplacingTheHelpItemKeepsItsPlaceAndCommand) {
    const auto bar = build(false);
    ASSERT_TRUE(bar->replaceItem(bar->helpMenuPosition(), 1, 118, "&Help for English US"));
    EXPECT_EQ(itemsOf(bar->topMenu(3)), (Items{"&Contents 116", "&Help for English US 118", "-",
                                               "&About... 117", "About &TTS Engine ... 119"}));
    bar->action(118)->trigger();
    EXPECT_EQ(m_dispatched, (std::vector<int>{118}));
    EXPECT_FALSE(bar->replaceItem(3, 9, 118, "x"));
    EXPECT_FALSE(bar->replaceItem(7, 0, 118, "x"));
}

TEST_F(MenuBarTest, LockingGraysEveryTopLevelMenu) {
    const auto bar = build(true);
    bar->setMenusEnabled(false);
    for (const QAction* menu : bar->actions()) {
        EXPECT_FALSE(menu->isEnabled());
    }
    bar->setMenusEnabled(true);
    for (const QAction* menu : bar->actions()) {
        EXPECT_TRUE(menu->isEnabled());
    }
    bar->setItemEnabled(133, false);
    EXPECT_FALSE(bar->action(133)->isEnabled());
}

TEST_F(MenuBarTest, BuilderHandsTheBarToTheCaller) {
    offer(0, "English US");
    std::unique_ptr<MenuBar> result;
    const engine::MenuBarBuilder builder = MenuBar::Builder(m_state, m_table, false, {}, result);
    ASSERT_TRUE(builder());
    ASSERT_TRUE(result);
    EXPECT_NE(result->action(600), nullptr);
}

}  // namespace
