#pragma once

#include <QObject>
#include <array>
#include <memory>

class QDialog;
class QListWidget;
class QPushButton;
class QWidget;

namespace context {
struct ProgramContext;
}

namespace dictionaries {

// The Unload User Dictionaries dialog: lists the dictionaries loaded for the current language,
// lets the user move entries between the loaded list and the unload list (by selection and
// the move buttons, or by a double click), and on OK unloads every dictionary of the unload
// list and frees its slot. Cancel changes nothing. The move buttons are lit when the selection
// gives them something to move and grey otherwise; a grey button still moves.
class UnloadDictionariesDialog : public QObject {
  public:
    enum class List { Loaded, Unload };

    UnloadDictionariesDialog(context::ProgramContext& program, QWidget* owner);
    ~UnloadDictionariesDialog() override;
    UnloadDictionariesDialog(const UnloadDictionariesDialog&) = delete;
    UnloadDictionariesDialog& operator=(const UnloadDictionariesDialog&) = delete;

    // Runs the dialog modally: 1 after OK, 0 after Cancel.
    int exec();

    QDialog& dialog() const { return *m_dialog; }
    QListWidget& list(List which) const;
    // The picture resources the Load and Unload buttons show now.
    int loadPicture() const;
    int unloadPicture() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setUpLanguageField();
    void setUpLists();
    void setUpButtons();
    void fillLoadedList();
    void onSelectionChange(List which);
    void onDoubleClick(List which);
    void onMove(List from);
    void moveEntry(List from, int row);
    void SetMoveButtonLook(List list, bool cleared);
    void drawMoveButtons();
    void onOk();

    context::ProgramContext& m_program;
    std::unique_ptr<QDialog> m_dialog;
    std::array<QListWidget*, 2> m_lists{};
    QPushButton* m_loadButton = nullptr;
    QPushButton* m_unloadButton = nullptr;
    bool m_loadButtonLit = false;
    bool m_unloadButtonLit = false;
};

// The Unload Dictionary command: runs the dialog, owned by `window`.
void unloadDictionaryCommand(context::ProgramContext& program, QWidget* window);

}  // namespace dictionaries
