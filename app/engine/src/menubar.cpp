#include "engine/menubar.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include "common/codepage.h"
#include "context/commandids.h"
#include "platform/postedmessage.h"
#include "resources/acceleratortable.h"

namespace engine {

namespace {

using namespace context;

QAction* findIn(const QList<QAction*>& actions, int commandId) {
    for (QAction* candidate : actions) {
        if (QMenu* submenu = candidate->menu()) {
            if (QAction* found = findIn(submenu->actions(), commandId)) {
                return found;
            }
        } else if (!candidate->isSeparator() && candidate->data().isValid() &&
                   candidate->data().toInt() == commandId) {
            return candidate;
        }
    }
    return nullptr;
}

// An item can be chosen when it and every menu that holds it are enabled.
bool isReachable(const QAction& item) {
    if (!item.isEnabled()) {
        return false;
    }
    for (QObject* holder : item.associatedObjects()) {
        if (const auto* menu = qobject_cast<const QMenu*>(holder);
            menu && !isReachable(*menu->menuAction())) {
            return false;
        }
    }
    return true;
}

}  // namespace

MenuBar::MenuBar(bool extendedMode, Dispatch dispatch)
    : m_extendedMode(extendedMode), m_dispatch(std::move(dispatch)) {}

std::unique_ptr<MenuBar> MenuBar::build(const context::AppState& state,
                                        const context::LanguageTable& table, bool extendedMode,
                                        Dispatch dispatch) {
    std::unique_ptr<MenuBar> bar(new MenuBar(extendedMode, std::move(dispatch)));
    if (!bar->populate(state, table)) {
        return nullptr;
    }
    return bar;
}

MenuBarBuilder MenuBar::Builder(const context::AppState& state, const context::LanguageTable& table,
                                bool extendedMode, Dispatch dispatch,
                                std::unique_ptr<MenuBar>& result) {
    return [&state, &table, extendedMode, dispatch = std::move(dispatch), &result]() {
        result = build(state, table, extendedMode, dispatch);
        return result != nullptr;
    };
}

MenuBar::Dispatch MenuBar::PostingTo(QObject* window) {
    return [target = QPointer<QObject>(window)](int commandId) {
        if (target) {
            platform::postCommand(target, commandId);
        }
    };
}

bool MenuBar::addItems(QMenu* menu, std::initializer_list<Item> items) {
    for (const Item& item : items) {
        const bool added =
            item.text ? addCommand(menu, QString::fromLatin1(item.text), item.commandId) != nullptr
                      : menu->addSeparator() != nullptr;
        if (!added) {
            return false;
        }
    }
    return true;
}

QMenu* MenuBar::newMenu(const char* title, std::initializer_list<Item> items) {
    auto* menu = new QMenu(QString::fromLatin1(title), this);
    return addItems(menu, items) ? menu : nullptr;
}

QMenu* MenuBar::newLanguageMenu(const context::AppState& state,
                                const context::LanguageTable& table) {
    auto* language = new QMenu(QStringLiteral("&Language"), this);
    for (int slot = 0; slot < context::kLanguageSlots; ++slot) {
        if (state.available[slot] == 1 &&
            !addCommand(language,
                        QString::fromStdString(common::ansiToUtf8(
                            table.text(slot, context::LanguageColumn::MenuText))),
                        IDM_LANGUAGE1 + slot)) {
            return nullptr;
        }
    }
    return language;
}

QMenu* MenuBar::newSpeakerMenu() {
    auto* speaker = new QMenu(QStringLiteral("&Speaker"), this);
    for (int number = 1; number <= 9; ++number) {
        if (!addCommand(speaker, QStringLiteral("Speaker %1").arg(number),
                        IDM_SPEAKER1 + number - 1)) {
            return nullptr;
        }
    }
    return speaker;
}

QMenu* MenuBar::newFrequencyMenu() {
    auto* frequency = new QMenu(QStringLiteral("&Frequency"), this);
    if (m_extendedMode && !addItems(frequency, {{"7.2 kHz", IDM_FREQ7K}})) {
        return nullptr;
    }
    const bool filled = addItems(
        frequency, {{"8 kHz", IDM_FREQ8K}, {"10 kHz", IDM_FREQ10K}, {"11.025 kHz", IDM_FREQ11K}});
    return filled ? frequency : nullptr;
}

QMenu* MenuBar::newOptionsMenu(QMenu* language, QMenu* speaker, QMenu* frequency) {
    auto* options = new QMenu(QStringLiteral("&Options"), this);
    if (!options->addMenu(language) || (speaker && !options->addMenu(speaker)) ||
        !options->addMenu(frequency)) {
        return nullptr;
    }
    if (m_extendedMode && !addItems(options, {{"Set &Accelerator", IDM_SETACCEL}})) {
        return nullptr;
    }
    const bool filled =
        addItems(options, {{"&ShowMessage", IDM_SHOWMESSAGE},
                           kSeparator,
                           {m_extendedMode ? "System Mode" : "System &Mode", IDM_SYSTEMMODE},
                           kSeparator,
                           {"&Defaults", IDM_DEFAULTS}});
    return filled && addBenchMonitor(options) ? options : nullptr;
}

// Follows every item above, so their positions stay, and takes B as its mnemonic, so that M
// still chooses System Mode at once. The menu shows Ctrl+M; the program's
// accelerator delivers it, so the item's own shortcut works only inside the open menu.
bool MenuBar::addBenchMonitor(QMenu* options) {
    if (!options->addSeparator()) {
        return false;
    }
    QAction* item = addCommand(options, QStringLiteral("&Bench Monitor..."), IDM_BENCHMONITOR);
    if (item) {
        item->setShortcut(resources::benchMonitorAccelerator().key);
        item->setShortcutContext(Qt::WidgetShortcut);
    }
    return item != nullptr;
}

bool MenuBar::populate(const context::AppState& state, const context::LanguageTable& table) {
    // The pop-ups are created and filled in this order, then attached left to right; the first
    // failure ends the construction.
    QMenu* file = newMenu("&File", {{"&Open", IDM_OPEN},
                                    kSeparator,
                                    {"&Load Dictionary", IDM_LOADDICT},
                                    {"&Unload Dictionary", IDM_UNLOADDICT},
                                    kSeparator,
                                    {"E&xit", IDM_EXIT}});
    QMenu* mode =
        file ? newMenu("&Mode", {{"&File", IDM_SOURCEFILE}, {"&Keyboard", IDM_SOURCEKEYBOARD}})
             : nullptr;
    QMenu* language = mode ? newLanguageMenu(state, table) : nullptr;
    QMenu* speaker = language && m_extendedMode ? newSpeakerMenu() : nullptr;
    if (!language || (m_extendedMode && !speaker)) {
        return false;
    }
    QMenu* frequency = newFrequencyMenu();
    QMenu* options = frequency ? newOptionsMenu(language, speaker, frequency) : nullptr;
    QMenu* genFile = options && m_extendedMode
                         ? newMenu("&GenFile", {{"16 bit Linear", IDM_GEN16LINEAR},
                                                {"Mu-Law PCM", IDM_GENMULAW},
                                                {"A-Law PCM", IDM_GENALAW},
                                                {"16 bit Wave Format", IDM_GEN16WAVE},
                                                {"8 bit Wave Format", IDM_GEN8WAVE}})
                         : nullptr;
    if (!options || (m_extendedMode && !genFile)) {
        return false;
    }
    QMenu* help = newMenu("&Help", {{"&Contents", IDM_HELPCONTENTS},
                                    {"Language Dependent", IDM_LANGHELP},
                                    kSeparator,
                                    {"&About...", IDM_ABOUT},
                                    {"About &TTS Engine ...", IDM_ABOUTENGINE}});
    if (!help) {
        return false;
    }
    for (QMenu* menu : {file, mode, options, genFile, help}) {
        if (menu && !addMenu(menu)) {
            return false;
        }
    }
    return true;
}

QAction* MenuBar::newCommand(const QString& text, int commandId, QMenu* menu) {
    auto* item = new QAction(text, menu);
    item->setData(commandId);
    connect(item, &QAction::triggered, this, [this, item] { onTriggered(item); });
    return item;
}

QAction* MenuBar::addCommand(QMenu* menu, const QString& text, int commandId) {
    QAction* item = newCommand(text, commandId, menu);
    menu->addAction(item);
    return menu->actions().contains(item) ? item : nullptr;
}

void MenuBar::onTriggered(QAction* item) {
    // Only the program sets check marks: undo the toggle Qt made on the way here.
    if (item->isCheckable()) {
        item->setChecked(true);
    }
    if (m_dispatch) {
        m_dispatch(item->data().toInt());
    }
}

QMenu* MenuBar::topMenu(int position) const {
    const QList<QAction*> menus = actions();
    if (position < 0 || position >= menus.size()) {
        return nullptr;
    }
    return menus[position]->menu();
}

QAction* MenuBar::action(int commandId) const {
    return findIn(actions(), commandId);
}

void MenuBar::setChecked(int commandId, bool checked) {
    QAction* item = action(commandId);
    if (!item) {
        return;
    }
    // An item is checkable only while it carries a check mark, so unchecked items show no box.
    if (checked) {
        item->setCheckable(true);
        item->setChecked(true);
    } else {
        item->setChecked(false);
        item->setCheckable(false);
    }
}

void MenuBar::setCheckedRange(int firstCommand, int lastCommand, bool checked) {
    for (int commandId = firstCommand; commandId <= lastCommand; ++commandId) {
        setChecked(commandId, checked);
    }
}

void MenuBar::setItemEnabled(int commandId, bool enabled) {
    if (QAction* item = action(commandId)) {
        item->setEnabled(enabled);
    }
}

void MenuBar::setItemText(int commandId, const QString& text) {
    if (QAction* item = action(commandId)) {
        item->setText(text);
    }
}

bool MenuBar::sendsCommand(int commandId) const {
    const QAction* item = action(commandId);
    return item == nullptr || isReachable(*item);
}

bool MenuBar::isChecked(int commandId) const {
    const QAction* item = action(commandId);
    return item && item->isChecked();
}

bool MenuBar::replaceItem(int menuPosition, int itemPosition, int commandId, const QString& text) {
    QMenu* menu = topMenu(menuPosition);
    if (!menu || itemPosition < 0 || itemPosition >= menu->actions().size()) {
        return false;
    }
    QAction* old = menu->actions()[itemPosition];
    menu->removeAction(old);
    // The old item may be the one whose command is running; let it go once that returns.
    old->deleteLater();
    QAction* item = newCommand(text, commandId, menu);
    const QList<QAction*> remaining = menu->actions();
    menu->insertAction(itemPosition < remaining.size() ? remaining[itemPosition] : nullptr, item);
    return true;
}

void MenuBar::setMenusEnabled(bool enabled) {
    for (QAction* menu : actions()) {
        menu->setEnabled(enabled);
    }
}

}  // namespace engine
