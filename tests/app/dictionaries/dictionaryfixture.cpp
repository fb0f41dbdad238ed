#include "dictionaryfixture.h"

#include <unistd.h>

#include <cstdio>

#include "context/commandids.h"

namespace dictionarytest {
namespace {

using platform::BeepKind;
using platform::MessageButtons;
using platform::MessageIcon;

// Names in the order of the enumerators of BeepKind and of MessageIcon.
const char* beepName(BeepKind kind) {
    constexpr const char* kNames[] = {"Default", "Stop", "Exclamation", "Question", "Information"};
    return kNames[static_cast<int>(kind)];
}

const char* iconName(MessageIcon icon) {
    constexpr const char* kNames[] = {"None", "Stop", "Exclamation", "Question", "Information"};
    return kNames[static_cast<int>(icon)];
}

}  // namespace

void PrintTo(const Slot& slot, std::ostream* out) {
    *out << "{slot " << slot.index << " \"" << slot.path << "\" language " << slot.language
         << " handle " << slot.handle << '}';
}

void DictionaryFixture::startProgram(const std::string& commandLine) {
    startTwoLanguages(commandLine);
    m_engine.clearCalls();
    m_recorders.messages->clear();
    m_recorders.messages->onShow = [this](const testsupport::MessageEvent& box) {
        m_boxOwners.push_back(ownerName(box.owner));
    };
}

std::string DictionaryFixture::ownerName(const QWidget* owner) const {
    if (owner == nullptr)
        return "none";
    return owner == program().controls.mainWindow ? "main" : owner->objectName().toStdString();
}

void DictionaryFixture::load(const std::string& path) {
    m_recorders.fileDialogs->queueAnswer(QString::fromStdString(path));
    command(context::IDM_LOADDICT);
}

std::vector<Slot> DictionaryFixture::usedSlots() const {
    const context::AppState& state = program().appState;
    std::vector<Slot> used;
    for (std::size_t slot = 0; slot < state.DictPath.size(); ++slot) {
        if (state.DictLanguage[slot] != -1)
            used.push_back({static_cast<int>(slot), state.DictPath[slot], state.DictLanguage[slot],
                            state.DictHandle[slot]});
    }
    return used;
}

std::vector<std::string> DictionaryFixture::messageLog() const {
    std::vector<std::string> lines;
    auto owner = m_boxOwners.begin();
    for (const testsupport::MessageEvent& event : m_recorders.messages->log()) {
        if (event.isBeep()) {
            lines.push_back(std::string("beep ") + beepName(event.beep));
            continue;
        }
        lines.push_back("box " + *owner++ + " " + event.caption.toStdString() + " " +
                        iconName(event.icon) + " " +
                        (event.buttons == MessageButtons::YesNo ? "YesNo" : "Ok") + ": " +
                        event.text.toStdString());
    }
    return lines;
}

std::filesystem::path DictionaryFixture::temporaryPath(int counter) const {
    char name[32];
    std::snprintf(name, sizeof name, "~%7d.%3d", static_cast<int>(::getpid()) + 1000000,
                  counter + 100);
    return startupDirectory() / name;
}

std::vector<std::string> DictionaryFixture::temporaryFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(startupDirectory())) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with('~'))
            names.push_back(name);
    }
    return names;
}

}  // namespace dictionarytest
