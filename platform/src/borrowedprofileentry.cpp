#include "platform/borrowedprofileentry.h"

#include <sys/file.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <system_error>
#include <thread>

#include "lockfile.h"

namespace platform {
namespace {

// A program that is ending holds the lock alone only while it writes the profile; a holder that
// takes longer than that is not waited for.
bool lockShared(int fd) {
    constexpr int kAttempts = 50;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (lockFile(fd, LOCK_SH | LOCK_NB)) {
            return true;
        }
        if (errno != EWOULDBLOCK) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace

BorrowedProfileEntry::BorrowedProfileEntry(std::filesystem::path profile, std::string section,
                                           std::string key, std::string keptKey)
    : m_profile(std::move(profile)),
      m_section(std::move(section)),
      m_key(std::move(key)),
      m_keptKey(std::move(keptKey)) {}

void BorrowedProfileEntry::joinBorrowers() {
    std::error_code error;
    std::filesystem::create_directories(m_profile.path().parent_path(), error);
    m_lock = openLockFile(std::filesystem::path(m_profile.path()).replace_extension(".lck"));
    // Without the shared lock this program cannot tell whether others still run; it then gives
    // the entry back when it ends, as a last one would.
    if (m_lock.valid() && !lockShared(m_lock.get())) {
        m_lock.close();
    }
}

std::string BorrowedProfileEntry::borrow(std::string_view value, std::string_view fallback,
                                         std::size_t maxLength) {
    joinBorrowers();
    ProfileEdit edit(m_profile);
    const std::optional<std::string> current = edit.find(m_section, m_key);
    const std::optional<std::string> kept = edit.find(m_section, m_keptKey);
    std::string original =
        kept && current == value ? *kept : current.value_or(std::string(fallback));
    if (maxLength != 0 && original.size() > maxLength) {
        original.resize(maxLength);
    }
    edit.writeString(m_section, m_keptKey, original);
    edit.writeString(m_section, m_key, value);
    edit.commit();
    return original;
}

bool BorrowedProfileEntry::giveBack(std::string_view original) {
    if (m_lock.valid() && !lockFile(m_lock.get(), LOCK_EX | LOCK_NB) && errno == EWOULDBLOCK) {
        m_lock.close();
        return true;
    }
    ProfileEdit edit(m_profile);
    edit.writeString(m_section, m_key, original);
    edit.removeKey(m_section, m_keptKey);
    const bool written = edit.commit();
    m_lock.close();
    return written;
}

}  // namespace platform
