#include "dictionaries/unloaddictionariesdialog.h"

#include <QDialog>
#include <QEvent>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "context/programcontext.h"
#include "dictionaries/dictionarytable.h"
#include "engine/errorreport.h"
#include "resources/buttonpictures.h"
#include "resources/dialogtemplates.h"

namespace dictionaries {
namespace {

using List = UnloadDictionariesDialog::List;

constexpr int kOk = 1;
constexpr int kCancel = 2;

List otherList(List which) {
    return which == List::Loaded ? List::Unload : List::Loaded;
}

std::size_t index(List which) {
    return static_cast<std::size_t>(which);
}

template <typename Widget>
Widget* item(QDialog& dialog, int id) {
    return static_cast<Widget*>(platform::findItem(dialog, id));
}

// An entry of the two lists: they sort as a reader looks names up, ignoring case.
class ReadingOrderItem : public QListWidgetItem {
  public:
    explicit ReadingOrderItem(const QString& text) : QListWidgetItem(text) {}
    bool operator<(const QListWidgetItem& other) const override {
        const int order = text().compare(other.text(), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : text() < other.text();
    }
};

void addEntry(QListWidget& list, const QString& text) {
    list.addItem(new ReadingOrderItem(text));
}

// Sorted, every click toggles an entry, keyboard reachable.
void setUpList(QListWidget& list, const QString& accessibleName) {
    list.setSelectionMode(QAbstractItemView::MultiSelection);
    list.setSortingEnabled(true);
    list.setFocusPolicy(Qt::StrongFocus);
    list.setAccessibleName(accessibleName);
}

// The button shows its picture in place of its text; the text remains its accessible name.
void setUpMoveButton(QPushButton& button, const QString& description) {
    button.setAccessibleName(button.text());
    button.setAccessibleDescription(description);
    button.setToolTip(description);
    button.setText(QString());
    button.setFlat(true);
    button.setIconSize(QSize(resources::kMovePictureWidth, resources::kMovePictureHeight));
}

}  // namespace

UnloadDictionariesDialog::UnloadDictionariesDialog(context::ProgramContext& program, QWidget* owner)
    : m_program(program),
      m_dialog(platform::buildDialog(resources::unloadDictionariesTemplate(), owner)) {
    setUpLanguageField();
    setUpLists();
    setUpButtons();
    fillLoadedList();
    drawMoveButtons();
}

// Nothing the dialog's widgets do while they are destroyed reaches the handlers.
UnloadDictionariesDialog::~UnloadDictionariesDialog() {
    for (QListWidget* list : m_lists) {
        list->removeEventFilter(this);
        list->disconnect(this);
    }
}

void UnloadDictionariesDialog::setUpLanguageField() {
    auto* language = item<QLineEdit>(*m_dialog, resources::kLanguageNameField);
    language->setAccessibleName(QStringLiteral("Language"));
    language->setText(QString::fromStdString(m_program.languageTable.text(
        m_program.appState.Language - 1, context::LanguageColumn::Name)));
}

void UnloadDictionariesDialog::setUpLists() {
    QDialog& dialog = *m_dialog;
    m_lists[index(List::Loaded)] = item<QListWidget>(dialog, resources::kLoadedList);
    m_lists[index(List::Unload)] = item<QListWidget>(dialog, resources::kUnloadList);
    setUpList(list(List::Loaded), QStringLiteral("Loaded Dictionaries"));
    setUpList(list(List::Unload), QStringLiteral("Dictionaries to be unloaded"));
    for (const List which : {List::Loaded, List::Unload}) {
        QListWidget& widget = list(which);
        widget.installEventFilter(this);
        connect(&widget, &QListWidget::itemSelectionChanged, this,
                [this, which] { onSelectionChange(which); });
        connect(&widget, &QListWidget::doubleClicked, this,
                [this, which] { onDoubleClick(which); });
    }
}

void UnloadDictionariesDialog::setUpButtons() {
    QDialog& dialog = *m_dialog;
    m_loadButton = item<QPushButton>(dialog, resources::kLoadButton);
    m_unloadButton = item<QPushButton>(dialog, resources::kUnloadButton);
    setUpMoveButton(*m_loadButton,
                    QStringLiteral("Moves the selected dictionaries back to the loaded list"));
    setUpMoveButton(*m_unloadButton,
                    QStringLiteral("Moves the selected dictionaries to the list to be unloaded"));
    connect(m_loadButton, &QPushButton::clicked, this, [this] { onMove(List::Unload); });
    connect(m_unloadButton, &QPushButton::clicked, this, [this] { onMove(List::Loaded); });
    connect(item<QPushButton>(dialog, kOk), &QPushButton::clicked, this, [this] { onOk(); });
    connect(item<QPushButton>(dialog, kCancel), &QPushButton::clicked, m_dialog.get(),
            &QDialog::reject);
}

void UnloadDictionariesDialog::fillLoadedList() {
    const context::AppState& state = m_program.appState;
    for (std::size_t slot = 0; slot < state.DictPath.size(); ++slot) {
        if (!state.DictPath[slot].empty() && state.DictLanguage[slot] == state.Language)
            addEntry(list(List::Loaded), QString::fromStdString(state.DictPath[slot]));
    }
}

int UnloadDictionariesDialog::exec() {
    return m_dialog->exec() == QDialog::Accepted ? 1 : 0;
}

QListWidget& UnloadDictionariesDialog::list(List which) const {
    return *m_lists[index(which)];
}

int UnloadDictionariesDialog::loadPicture() const {
    return m_loadButtonLit ? resources::kLoadActive : resources::kLoadInactive;
}

int UnloadDictionariesDialog::unloadPicture() const {
    return m_unloadButtonLit ? resources::kUnloadActive : resources::kUnloadInactive;
}

bool UnloadDictionariesDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (const List which : {List::Loaded, List::Unload}) {
            if (watched == &list(which))
                onSelectionChange(which);
        }
    }
    return QObject::eventFilter(watched, event);
}

// Selecting in one list deselects the other and lights the button that moves out of it.
void UnloadDictionariesDialog::onSelectionChange(List which) {
    QListWidget& other = list(otherList(which));
    const QSignalBlocker quiet(other);
    other.clearSelection();
    SetMoveButtonLook(which, false);
    if (list(which).selectedItems().isEmpty())
        SetMoveButtonLook(which, true);
}

void UnloadDictionariesDialog::onDoubleClick(List which) {
    QListWidget& other = list(otherList(which));
    {
        const QSignalBlocker quiet(other);
        other.clearSelection();
    }
    SetMoveButtonLook(which, true);
    const int caret = list(which).currentRow();
    if (caret >= 0)
        moveEntry(which, caret);
}

void UnloadDictionariesDialog::onMove(List from) {
    SetMoveButtonLook(from, true);
    QListWidget& source = list(from);
    for (int row = source.count() - 1; row >= 0; --row) {
        if (source.item(row)->isSelected())
            moveEntry(from, row);
    }
}

// The entry goes into the other list at its sorted place, unselected.
void UnloadDictionariesDialog::moveEntry(List from, int row) {
    QListWidget& source = list(from);
    QListWidget& target = list(otherList(from));
    const QSignalBlocker quietSource(source);
    const QSignalBlocker quietTarget(target);
    addEntry(target, source.item(row)->text());
    delete source.takeItem(row);
}

void UnloadDictionariesDialog::SetMoveButtonLook(List list, bool cleared) {
    m_loadButtonLit = !cleared && list == List::Unload;
    m_unloadButtonLit = !cleared && list == List::Loaded;
    drawMoveButtons();
}

void UnloadDictionariesDialog::drawMoveButtons() {
    m_loadButton->setIcon(QIcon(resources::loadMoveButtonPicture(loadPicture())));
    m_unloadButton->setIcon(QIcon(resources::loadMoveButtonPicture(unloadPicture())));
}

// Every slot holding a listed path is freed, whatever the engine answers about its handle.
void UnloadDictionariesDialog::onOk() {
    context::AppState& state = m_program.appState;
    QListWidget& unload = list(List::Unload);
    const int entries = std::min(unload.count(), context::kDictionarySlots);
    for (int row = 0; row < entries; ++row) {
        const std::string path = unload.item(row)->text().toStdString();
        for (int slot = 0; slot < context::kDictionarySlots; ++slot) {
            const auto slotIndex = static_cast<std::size_t>(slot);
            if (state.DictPath[slotIndex] != path)
                continue;
            const int32_t handle = state.DictHandle[slotIndex];
            freeSlot(state, slot);
            const int32_t status = m_program.session.engine->EngineUnloadDictionary(
                m_program.session.engineInstance, handle);
            if (status != 0)
                engine::ReportError(*m_program.services.messages, m_dialog.get(), status);
        }
    }
    m_dialog->accept();
}

void unloadDictionaryCommand(context::ProgramContext& program, QWidget* window) {
    UnloadDictionariesDialog(program, window).exec();
}

}  // namespace dictionaries
