#include "exports.h"

#include <QBuffer>
#include <QImage>

#include "common/replacementfile.h"
#include "monitor/eventjson.h"
#include "requestrecord.h"
#include "waveform.h"

namespace benchmonitor {

std::string eventLogJson(const monitor::SpeechLog& log) {
    std::string lines;
    for (const monitor::LoggedEvent& event : log.events()) {
        lines += monitor::eventJson(log, event) + '\n';
    }
    return lines;
}

QByteArray waveformPng(const RequestRecord& record) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    renderWaveform(record).save(&buffer, "PNG");
    return bytes;
}

bool writeExport(const QString& path, std::string_view bytes) {
    return common::ReplacementFile::replace(path.toStdString(), bytes) ==
           common::ReplacementFile::Status::Ok;
}

}  // namespace benchmonitor
