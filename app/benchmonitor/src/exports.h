#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

#include "monitor/speechlog.h"

namespace benchmonitor {

struct RequestRecord;

// The event log as JSON lines, one event a line.
std::string eventLogJson(const monitor::SpeechLog& log);

// The whole waveform of a request as a PNG file.
QByteArray waveformPng(const RequestRecord& record);

// Replaces the file at `path` with `bytes` in one step; false when it could not be written
// (the file is then as it was).
bool writeExport(const QString& path, std::string_view bytes);

}  // namespace benchmonitor
