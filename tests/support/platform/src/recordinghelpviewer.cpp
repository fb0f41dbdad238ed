#include "testsupport/recordinghelpviewer.h"

#include <QFileInfo>

namespace testsupport {

bool RecordingHelpViewer::show(QWidget* owner, const QString& path) {
    m_requests.push_back({owner, path});
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

}  // namespace testsupport
