#pragma once

#include <QString>
#include <memory>
#include <vector>

class QDialog;
class QWidget;

namespace platform {

// Kinds of dialog items a template can hold.
enum class DialogItemKind {
    Label,
    Frame,
    PushButton,
    DefaultPushButton,
    CheckBox,
    RadioButton,
    Edit,
    ListBox,
    ComboBox,
    Picture
};

// One item of a dialog template, with its geometry in dialog units.
struct DialogItem {
    DialogItemKind kind;
    int id;
    QString text;
    int x, y, width, height;
};

// A dialog described as data: caption, size in dialog units and items, the way dialog
// resources describe it.
struct DialogTemplate {
    int id;
    QString caption;
    int width, height;
    std::vector<DialogItem> items;
};

// Converts dialog units with the metrics of the dialog font (horizontal unit = average
// character width / 4, vertical = character height / 8).
class DialogUnits {
  public:
    explicit DialogUnits(const QWidget& dialog);
    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    // Makes the horizontal unit `scale` times wider (never narrower).
    void widen(double scale);

  private:
    double m_baseX;
    int m_baseY;
};

// Builds a modal dialog from the template; each item's widget gets its id as the object name
// "item<id>" so the owner can find it with findItem().
std::unique_ptr<QDialog> buildDialog(const DialogTemplate& dialogTemplate, QWidget* parent);
QWidget* findItem(QDialog& dialog, int id);

// Sizes and places the dialog and its items from the template in the dialog's font. Where a
// one-line text would not fit its item in that font, the horizontal unit grows until every
// text fits, so the layout keeps its proportions; the dialog is also wide enough to show its
// whole caption. Call again after giving items texts of their own.
void layOutDialog(QDialog& dialog, const DialogTemplate& dialogTemplate);

}  // namespace platform
