#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "common/filedescriptor.h"

namespace common {

// A new version of a file, written beside it (without a name where the file system allows, else
// under a short temporary name) and put in its place in one step, so that the file is at every
// moment either the old or the new one, also after a crash or a full disk. The replaced file keeps
// its permission bits (and its owner where the system allows); a new file gets 0666 less the umask,
// like any file a program creates. A symbolic link as target stays a link: the file it points to is
// replaced. A target that exists but is no regular file (a folder, a device, a pipe), or that may
// not be written (no write permission bit at all, or none for this process), is refused. Dropped
// without a successful commit(), the temporary file is removed and the target is untouched.
class ReplacementFile {
  public:
    enum class Status { Ok, CannotCreate, WriteFailed };

    explicit ReplacementFile(const std::filesystem::path& target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Ok when the temporary file is open for writing, CannotCreate otherwise.
    Status status() const { return m_status; }
    int fd() const { return m_file.get(); }
    // The file that commit() replaces: the target with a symbolic link followed.
    const std::filesystem::path& target() const { return m_target; }

    // Syncs the new content, renames it over the target and syncs the folder. WriteFailed when
    // the data may not have reached the disk, CannotCreate when it cannot take the target's
    // place; either way the target is untouched.
    Status commit();

    // Replaces the file at `target` with `bytes` in one step.
    static Status replace(const std::filesystem::path& target, std::string_view bytes);

  private:
    bool openTemporary();
    // Gives a file opened without a name its temporary name beside the target.
    bool nameTemporary();
    // Tries `create` with fresh temporary names until one is not taken yet.
    bool createNamed(const std::function<bool(const std::filesystem::path&)>& create);
    void discard();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    FileDescriptor m_file;
    Status m_status = Status::CannotCreate;
};

}  // namespace common
