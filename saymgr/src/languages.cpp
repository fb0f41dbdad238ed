#include "languages.h"

#include <algorithm>
#include <array>

namespace saymgr::languages {

namespace {

constexpr std::array<Language, 25> kLanguages{{
    {1033, "English (America)", "en-us", "en-us", "English", "United States"},
    {2057, "English (Britain)", "en-gb", "en", "English", "United Kingdom"},
    {1031, "German", "de", "de", "German", "Germany"},
    {1036, "French", "fr", "fr", "French", "France"},
    {3082, "Spanish (Spain)", "es", "es", "Spanish", "Spain"},
    {22538, "Spanish (Latin America)", "es-419", "es-419", "Spanish", "Latin America"},
    {1040, "Italian", "it", "it", "Italian", "Italy"},
    {1046, "Portuguese (Brazil)", "pt-br", "pt-br", "Portuguese", "Brazil"},
    {2070, "Portuguese (Portugal)", "pt", "pt", "Portuguese", "Portugal"},
    {1043, "Dutch", "nl", "nl", "Dutch", "Netherlands"},
    {1053, "Swedish", "sv", "sv", "Swedish", "Sweden"},
    {1030, "Danish", "da", "da", "Danish", "Denmark"},
    {1044, "Norwegian", "nb", "nb", "Norwegian (Bokmal)", "Norway"},
    {1035, "Finnish", "fi", "fi", "Finnish", "Finland"},
    {1039, "Icelandic", "is", "is", "Icelandic", "Iceland"},
    {1027, "Catalan", "ca", "ca", "Catalan", "Spain"},
    {1069, "Basque", "eu", "eu", "Basque", "Spain"},
    {2108, "Irish", "ga", "ga", "Irish", "Ireland"},
    {1078, "Afrikaans", "af", "af", "Afrikaans", "South Africa"},
    {1057, "Indonesian", "id", "id", "Indonesian", "Indonesia"},
    {1086, "Malay", "ms", "ms", "Malay", "Malaysia"},
    {1089, "Swahili", "sw", "sw", "Swahili", "Kenya"},
    {1142, "Latin", "la", "la", "Latin", "Vatican City"},
    {1061, "Estonian", "et", "et", "Estonian", "Estonia"},
    {4206, "Luxembourgish", "lb", "lb", "Luxembourgish", "Luxembourg"},
}};

}  // namespace

std::span<const Language> all() {
    return kLanguages;
}

const Language* find(int32_t id) {
    const auto it = std::ranges::find(kLanguages, id, &Language::id);
    return it == kLanguages.end() ? nullptr : &*it;
}

}  // namespace saymgr::languages
