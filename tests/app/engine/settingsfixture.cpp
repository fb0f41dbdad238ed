#include "settingsfixture.h"

#include <atomic>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include <unistd.h>

namespace enginetest {

ScratchSettings::ScratchSettings() {
    static std::atomic<int> counter{0};
    m_folder =
        std::filesystem::temp_directory_path() /
        ("voxtrial-settings-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(m_folder);
    m_file = m_folder / "SAYBENCH.INI";
}

ScratchSettings::~ScratchSettings() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void ScratchSettings::write(const std::string& text) const {
    std::ofstream(m_file, std::ios::binary) << text;
}

std::string ScratchSettings::read() const {
    std::ifstream in(m_file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

LanguageList makeLanguages(const std::vector<std::string>& names) {
    LanguageList list{};
    list.count = static_cast<int32_t>(names.size());
    for (std::size_t k = 0; k < names.size() && k < SAYMGR_MAX_LANGUAGES; ++k) {
        LanguageEntry& entry = list.entries[k];
        entry.languageId = 1001 + static_cast<int32_t>(k);
        std::strncpy(entry.name, names[k].c_str(), sizeof entry.name - 1);
        std::strncpy(entry.variant, "std", sizeof entry.variant - 1);
    }
    return list;
}

}  // namespace enginetest
