#pragma once

#include <QString>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "shellfixture.h"

namespace dictionarytest {

// One used slot of the dictionary table, as one record.
struct Slot {
    int index = 0;
    std::string path;
    int32_t language = 0;
    int32_t handle = 0;
    bool operator==(const Slot&) const = default;
};

void PrintTo(const Slot& slot, std::ostream* out);

// The two-language program (German current, English the other) with the fake engine, the
// dictionary table as records and the message log as readable lines.
class DictionaryFixture : public shelltest::ShellFixture {
  protected:
    void startProgram(const std::string& commandLine = {});
    // Chooses `path` in the next open dialog and gives the Load Dictionary command.
    void load(const std::string& path);
    std::vector<Slot> usedSlots() const;
    // "beep <kind>" and "box <owner> <caption> <icon> <buttons>: <text>" lines; the owner is
    // "main", "none" or the owner's object name.
    std::vector<std::string> messageLog() const;
    // The temporary file of the conversion that the counter numbers.
    std::filesystem::path temporaryPath(int counter) const;
    // The names in the start-up directory that begin with '~'.
    std::vector<std::string> temporaryFiles() const;

  private:
    std::string ownerName(const QWidget* owner) const;

    // The owner of each box, named while it is shown: a dialog is gone afterwards.
    std::vector<std::string> m_boxOwners;
};

}  // namespace dictionarytest
