#pragma once

#include <string>
#include <string_view>

namespace dictionarytest {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const { return m_path + "/" + std::string(name); }
    // The names of the files in the folder, sorted, joined by '\n'.
    std::string listing() const;

  private:
    std::string m_path;
};

void writeFile(const std::string& path, std::string_view bytes);
std::string readFile(const std::string& path);

}  // namespace dictionarytest
