#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace shelltest {

// Looks at a shown window the way a user and a screen reader meet it and lists what is wrong:
// texts cut or wrapped out of their controls, controls that Tab never reaches or that show no
// mark when they have the focus, controls without an accessible name, and a window that is not
// wholly on its screen. A screenshot of the window goes to the audit's output folder.
class WindowAudit {
  public:
    // `name` labels the findings and the screenshot's file.
    WindowAudit(QWidget& window, QString name);
    QStringList findings();

  private:
    void checkTexts();
    void checkTabReachesEveryControl();
    void checkFocusIsShown();
    void checkAccessibleNames();
    void checkOnScreen();
    void checkCaption();
    void saveScreenshot() const;
    void report(const QWidget& control, const QString& fault);

    QWidget& m_window;
    QString m_name;
    QStringList m_findings;
};

}  // namespace shelltest
