#include "common/temporaryfile.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace common {

TemporaryFile::TemporaryFile(std::string_view prefix, std::string_view suffix) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    m_path = ((error ? std::filesystem::path("/tmp") : folder) /
              (std::string(prefix) + "XXXXXX" + std::string(suffix)))
                 .string();
    const int fd = mkstemps(m_path.data(), static_cast<int>(suffix.size()));
    if (fd < 0) {
        m_path.clear();
    } else {
        close(fd);
    }
}

TemporaryFile::~TemporaryFile() {
    if (!m_path.empty()) {
        std::remove(m_path.c_str());
    }
}

}  // namespace common
