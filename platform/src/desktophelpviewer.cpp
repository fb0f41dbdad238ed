#include "desktophelpviewer.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

#include "common/codepage.h"
#include "platform/windowplacement.h"

namespace platform {
namespace {

// An HTML file by its name, or by its first tag whatever its name.
bool isHtml(const QFileInfo& info, const QByteArray& bytes) {
    const QString suffix = info.suffix().toLower();
    const QByteArray start = bytes.left(512).trimmed().toLower();
    return suffix == QLatin1String("htm") || suffix == QLatin1String("html") ||
           start.startsWith("<!doctype html") || start.startsWith("<html");
}

}  // namespace

QString decodePlainHelpText(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (!decoder.hasError()) {
        return text;
    }
    return QString::fromStdString(
        common::ansiToUtf8(std::string_view(bytes.constData(), bytes.size())));
}

bool DesktopHelpViewer::show(QWidget* owner, const QString& path) {
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return false;
    }
    QTextBrowser& browser = window();
    if (isHtml(info, bytes)) {
        browser.setSource(QUrl::fromLocalFile(info.absoluteFilePath()),
                          QTextDocument::HtmlResource);
    } else {
        browser.setPlainText(decodePlainHelpText(bytes));
    }
    browser.setWindowTitle(QObject::tr("Help - %1").arg(info.fileName()));
    const bool opening = !browser.isVisible();
    browser.show();
    if (owner != nullptr && opening) {
        placeOnScreen(browser, owner->frameGeometry().topLeft() + QPoint(40, 40), owner);
    }
    browser.raise();
    browser.activateWindow();
    return true;
}

QTextBrowser& DesktopHelpViewer::window() {
    if (!m_window) {
        m_window = std::make_unique<QTextBrowser>();
        m_window->setOpenExternalLinks(true);
        m_window->resize(640, 480);
    }
    return *m_window;
}

}  // namespace platform
