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

context::AppState defaultState(int count) {
    context::AppState state;
    state.languageCount = count;
    state.available.fill(-1);
    for (int slot = 0; slot < count; ++slot) {
        const auto index = static_cast<std::size_t>(slot);
        state.available[index] = 1;
        state.languageNumber[index] = slot + 1;
        state.languageId[index] = 1001 + slot;
        state.Volume[index] = context::kDefaultVolume;
        state.Pitch[index] = context::kDefaultPitch;
        state.Rate[index] = context::kDefaultRate;
        state.Speaker[index] = context::kDefaultSpeaker;
    }
    state.Language = 1;
    state.Frequency = 10;
    state.DictFileType = 1;
    return state;
}

}  // namespace enginetest
