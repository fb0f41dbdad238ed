#pragma once

#include <string>
#include <string_view>

namespace common {

// An empty file of a name of its own in the system's temporary folder, `prefix` + six random
// characters + `suffix`, removed when this object goes. path() is empty when none could be made.
class TemporaryFile {
  public:
    TemporaryFile(std::string_view prefix, std::string_view suffix);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
};

}  // namespace common
