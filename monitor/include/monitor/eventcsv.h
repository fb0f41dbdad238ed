#pragma once

#include <string>
#include <string_view>

#include "monitor/speechlog.h"

namespace monitor {

// The logged events as a CSV file (RFC 4180: a header row, lines ended by CR LF, fields with
// a comma, a quote or a line break quoted, quotes doubled):
//   ms,code,name,start,length,text,sample,audioMs
// Fields the event does not have are empty.
std::string eventCsv(const SpeechLog& log);

// One field, quoted when it needs to be.
std::string csvField(std::string_view text);

}  // namespace monitor
