#include "saybenchwindow.h"

#include "windowprocedure.h"

namespace shell {

SayBenchWindow::SayBenchWindow(WindowProcedure& procedure, Qt::WindowFlags flags)
    : QWidget(nullptr, flags), m_procedure(procedure) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
}

bool SayBenchWindow::event(QEvent* event) {
    if (m_procedure.handle(this, event))
        return true;
    return QWidget::event(event);
}

}  // namespace shell
