#pragma once

#include <string>

#include "monitor/speechlog.h"

namespace monitor {

// One logged event as a line of JSON (without the line end):
//   {"ms":12.5,"code":7003,"name":"word","start":0,"length":5,"text":"Hello",
//    "sample":1234,"audioMs":111.9}
// start, length and text only for pieces, words and bookmarks; sample and audioMs are null
// when the engine gave no position.
std::string eventJson(const SpeechLog& log, const LoggedEvent& event);

// `text` (UTF-8) as a JSON string literal, quotes included.
std::string jsonString(std::string_view text);

}  // namespace monitor
