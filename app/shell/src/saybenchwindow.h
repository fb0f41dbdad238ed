#pragma once

#include <QWidget>

namespace shell {

class WindowProcedure;

// A top-level window of the program's one window class: every event it receives goes to the
// shared window procedure first, and only what the procedure leaves to default processing
// reaches Qt's own handling.
class SayBenchWindow : public QWidget {
    Q_OBJECT
  public:
    SayBenchWindow(WindowProcedure& procedure, Qt::WindowFlags flags);

  protected:
    bool event(QEvent* event) override;

  private:
    WindowProcedure& m_procedure;
};

}  // namespace shell
