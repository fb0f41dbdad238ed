#pragma once

#include <cstdint>
#include <span>

namespace saymgr::languages {

// One language the engine offers: what the caller sees and the eSpeak NG voice behind it.
struct Language {
    int32_t id;
    const char* name;
    const char* variant;
    const char* voice;
    const char* languageName;  // LanguageInfo.language
    const char* country;       // LanguageInfo.country
};

std::span<const Language> all();

// The language with `id`, or nullptr.
const Language* find(int32_t id);

}  // namespace saymgr::languages
