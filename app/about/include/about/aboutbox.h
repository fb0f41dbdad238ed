#pragma once

#include <QObject>
#include <memory>

class QDialog;
class QWidget;

namespace context {
struct ProgramContext;
}

namespace about {

// The program's About box, dialog 3001. While it is open the keyboard hook posts to it: any
// command it receives (OK, Escape, the close box or a function key released in it) suspends
// and removes the hook, and OK, Escape and the close box also close it with 1. Control+Alt+
// Insert and Control+Alt+End open the credits dialogs 3002 and 3004 over it, one at a time,
// with the hooks suspended while one is open.
class AboutBox : public QObject {
  public:
    AboutBox(context::ProgramContext& program, QWidget* owner);
    ~AboutBox() override;
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    int exec();
    QDialog& dialog() const { return *m_dialog; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onCommand(int commandId);
    void showCredits(int message);

    context::ProgramContext& m_program;
    std::unique_ptr<QDialog> m_dialog;
    bool m_creditsOpen = false;
};

// Shows the About box modally, owned by `owner`; the result is always 1.
int showAboutBox(context::ProgramContext& program, QWidget* owner);

}  // namespace about
