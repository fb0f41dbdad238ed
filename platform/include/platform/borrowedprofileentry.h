#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/filedescriptor.h"
#include "platform/profilefile.h"

namespace platform {

// An entry of the user's profile that running programs set to a value of their own (the
// question sound) and that gets the user's value back when the last of them ends. While the
// programs' value stands, the user's value is kept under a second key of the same section: a
// program that starts and finds it there knows the entry holds the programs' value, not the
// user's. Every running program holds a shared lock on a lock file beside the profile (the
// profile's name with the extension ".lck"), which the system drops when a process ends, also
// when it crashes: a program that ends while no other holds the lock is the last one and writes
// the user's value back. Dropped without giveBack(), the entry stays borrowed, as after a crash.
class BorrowedProfileEntry {
  public:
    BorrowedProfileEntry(std::filesystem::path profile, std::string section, std::string key,
                         std::string keptKey);

    // Sets the entry to `value` and returns the user's own value: the kept one while the entry
    // holds `value`, otherwise the entry's value, or `fallback` when it has none; at most
    // `maxLength` characters of it (0 = whole).
    std::string borrow(std::string_view value, std::string_view fallback, std::size_t maxLength);
    // Writes `original` back into the entry and drops the kept value, unless another running
    // program has borrowed the entry too: then the last of them does. False when the profile
    // could not be written.
    bool giveBack(std::string_view original);

  private:
    void joinBorrowers();

    ProfileFile m_profile;
    std::string m_section;
    std::string m_key;
    std::string m_keptKey;
    common::FileDescriptor m_lock;
};

}  // namespace platform
