#pragma once

#include <QMenuBar>
#include <QString>
#include <functional>
#include <initializer_list>
#include <memory>

#include "context/appstate.h"
#include "engine/settings.h"

class QAction;
class QMenu;
class QObject;

namespace engine {

// The main window's menu bar, built at run time from the language table and the extended-mode
// flag. Besides the Qt menus it offers what the program does with its menus by command
// identifier: check marks, graying, retitling, locking the top-level menus. Choosing an item
// hands its command identifier to the dispatch function given at construction; the program's
// own toggling of check marks stays in the program's hands (Qt's automatic toggling is undone).
class MenuBar : public QMenuBar {
  public:
    using Dispatch = std::function<void(int commandId)>;

    // Builds the complete menu bar, or returns null when a menu or item cannot be created.
    static std::unique_ptr<MenuBar> build(const context::AppState& state,
                                          const context::LanguageTable& table, bool extendedMode,
                                          Dispatch dispatch);
    // A builder for ReadSettings that puts the finished bar into `result`.
    static MenuBarBuilder Builder(const context::AppState& state,
                                  const context::LanguageTable& table, bool extendedMode,
                                  Dispatch dispatch, std::unique_ptr<MenuBar>& result);
    // A dispatch function that posts each command to `window` as a command event.
    static Dispatch PostingTo(QObject* window);

    bool extendedMode() const { return m_extendedMode; }
    // Position of the Help menu: 4 in extended mode, 3 otherwise.
    int helpMenuPosition() const { return m_extendedMode ? 4 : 3; }

    // The top-level pop-up at `position` (0-based), or null.
    QMenu* topMenu(int position) const;
    // The first item with `commandId` in any menu, or null.
    QAction* action(int commandId) const;

    // Each of these does nothing when no item has the command.
    void setChecked(int commandId, bool checked);
    void setCheckedRange(int firstCommand, int lastCommand, bool checked);
    void setItemEnabled(int commandId, bool enabled);
    void setItemText(int commandId, const QString& text);
    bool isChecked(int commandId) const;
    // Whether a shortcut key for `commandId` may send it: a command without an item always may;
    // one with an item only while the item and the menus above it are enabled, so that the keys
    // are locked with the menus while the engine speaks.
    bool sendsCommand(int commandId) const;

    // Deletes the item at `itemPosition` of the top-level menu at `menuPosition` and inserts an
    // item with `commandId` and `text` in its place. Returns false when there is no such item.
    bool replaceItem(int menuPosition, int itemPosition, int commandId, const QString& text);

    // Enables or grays every top-level menu (used to lock the bar while the engine speaks).
    void setMenusEnabled(bool enabled);

  private:
    MenuBar(bool extendedMode, Dispatch dispatch);

    struct Item {
        const char* text;  // null: a separator
        int commandId;
    };
    static constexpr Item kSeparator{nullptr, 0};

    bool populate(const context::AppState& state, const context::LanguageTable& table);
    bool addItems(QMenu* menu, std::initializer_list<Item> items);
    // Each returns the filled pop-up, or null when an item cannot be added.
    QMenu* newMenu(const char* title, std::initializer_list<Item> items);
    QMenu* newLanguageMenu(const context::AppState& state, const context::LanguageTable& table);
    QMenu* newSpeakerMenu();
    QMenu* newFrequencyMenu();
    QMenu* newOptionsMenu(QMenu* language, QMenu* speaker, QMenu* frequency);
    bool addBenchMonitor(QMenu* options);
    QAction* newCommand(const QString& text, int commandId, QMenu* menu);
    QAction* addCommand(QMenu* menu, const QString& text, int commandId);
    void onTriggered(QAction* action);

    bool m_extendedMode;
    Dispatch m_dispatch;
};

}  // namespace engine
