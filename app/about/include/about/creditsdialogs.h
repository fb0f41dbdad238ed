#pragma once

#include <QDialog>
#include <QObject>
#include <memory>

class QLabel;
class QPushButton;

namespace context {
struct ProgramContext;
}

namespace about {

// Dialog 3002: a picture button that starts on the group picture and switches to the list of
// names and back with every click, the hint below it saying what a click shows, and Close
// (result 1). Escape and the window's close do not close it. A picture that cannot be made is
// reported ("LoadBitmap error!") and the button stays empty.
class GroupPictureDialog : public QObject {
  public:
    GroupPictureDialog(context::ProgramContext& program, QWidget* owner);
    ~GroupPictureDialog() override;
    GroupPictureDialog(const GroupPictureDialog&) = delete;
    GroupPictureDialog& operator=(const GroupPictureDialog&) = delete;

    int exec();
    QDialog& dialog() const { return *m_dialog; }
    bool photoShowsNames() const { return m_photoShowsNames; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onPictureClick();
    void showPicture();

    context::ProgramContext& m_program;
    std::unique_ptr<QDialog> m_dialog;
    QPushButton* m_picture = nullptr;
    QLabel* m_hint = nullptr;
    bool m_photoShowsNames = false;
};

// Dialog 3004: the free software the program stands on, alphabetically, each with its
// licence. OK, Escape and the close box end it with 1.
std::unique_ptr<QDialog> makeSupportingGroupDialog(QWidget* owner);

}  // namespace about
