#include "common/replacementfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <random>
#include <string>
#include <system_error>

namespace common {
namespace {

std::filesystem::path folderOf(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// The file a write must replace: the target of a symbolic link rather than the link, also when
// that target does not exist yet. A loop of links is left as it is (opening it fails).
std::filesystem::path resolvedTarget(const std::filesystem::path& path) {
    constexpr int kMostLinks = 40;  // as many as the system follows in one path
    std::filesystem::path current = path;
    for (int link = 0; link < kMostLinks; ++link) {
        std::error_code error;
        if (!std::filesystem::is_symlink(current, error)) {
            return current;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(current, error);
        if (error) {
            return current;
        }
        current = next.is_absolute() ? next : folderOf(current) / next;
    }
    return path;
}

// A short name, so that a target whose name is as long as the system allows still has room
// for its temporary file.
std::string temporaryName() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string name = ".vxt";
    for (int i = 0; i < 8; ++i) {
        name += kLetters[pick(generator)];
    }
    return name;
}

// A file the user may not write stays as it is, also for a process that could override its
// permissions (root): a file without any write permission bit was made read-only on purpose.
bool isWritable(const std::filesystem::path& file, const struct stat& status) {
    return (status.st_mode & 0222) != 0 &&
           ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0;
}

void syncFolder(const std::filesystem::path& folder) {
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid()) {
        ::fsync(directory.get());
    }
}

// This process's open files, as links to them.
constexpr char kOwnFiles[] = "/proc/self/fd";

}  // namespace

ReplacementFile::ReplacementFile(const std::filesystem::path& target)
    : m_target(resolvedTarget(target)) {
    struct stat existing {};
    const bool exists = ::stat(m_target.c_str(), &existing) == 0;
    if ((exists && (!S_ISREG(existing.st_mode) || !isWritable(m_target, existing))) ||
        !openTemporary()) {
        return;
    }
    if (exists) {
        ::fchmod(m_file.get(), existing.st_mode & 07777);
        if (::fchown(m_file.get(), existing.st_uid, existing.st_gid) != 0) {
            // Not permitted for another owner's file: the new version becomes ours.
        }
    }
    m_status = Status::Ok;
}

ReplacementFile::~ReplacementFile() {
    discard();
}

// The new version is written into a file without a name where the file system allows it, so
// that a process ended at any moment (a second Ctrl+C, a file-size limit, the OOM killer) leaves
// nothing behind; it gets its temporary name only when it is complete.
bool ReplacementFile::openTemporary() {
    const std::filesystem::path folder = folderOf(m_target);
    if (::access(kOwnFiles, X_OK) == 0) {
        m_file = FileDescriptor(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (m_file.valid()) {
            return true;
        }
    }
    return createNamed([&](const std::filesystem::path& candidate) {
        m_file = FileDescriptor(
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        return m_file.valid();
    });
}

bool ReplacementFile::nameTemporary() {
    if (!m_temporary.empty()) {
        return true;
    }
    const std::string self = std::string(kOwnFiles) + "/" + std::to_string(m_file.get());
    return createNamed([&](const std::filesystem::path& candidate) {
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) ==
               0;
    });
}

bool ReplacementFile::createNamed(const std::function<bool(const std::filesystem::path&)>& create) {
    const std::filesystem::path folder = folderOf(m_target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = folder / temporaryName();
        if (create(candidate)) {
            m_temporary = std::move(candidate);
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

void ReplacementFile::discard() {
    m_file.close();
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

ReplacementFile::Status ReplacementFile::commit() {
    if (m_status != Status::Ok) {
        return m_status;
    }
    if (::fsync(m_file.get()) != 0 || !nameTemporary() || !m_file.close()) {
        discard();
        return m_status = Status::WriteFailed;
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        discard();
        return m_status = Status::CannotCreate;
    }
    m_temporary.clear();
    syncFolder(folderOf(m_target));
    return Status::Ok;
}

ReplacementFile::Status ReplacementFile::replace(const std::filesystem::path& target,
                                                 std::string_view bytes) {
    ReplacementFile file(target);
    if (file.status() != Status::Ok) {
        return file.status();
    }
    if (!writeAll(file.fd(), bytes)) {
        return Status::WriteFailed;
    }
    return file.commit();
}

}  // namespace common
