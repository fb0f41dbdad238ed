#include "binding/dictionaryloading.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace binding {
namespace {

// A temporary binary dictionary, removed when it goes out of scope.
class TemporaryDictionary {
  public:
    TemporaryDictionary() {
        std::error_code error;
        const auto folder = std::filesystem::temp_directory_path(error);
        m_path = (error ? std::filesystem::path("/tmp") : folder) / "voxtrial-dict-XXXXXX.dcb";
        const int fd = mkstemps(m_path.data(), 4);
        if (fd < 0) {
            m_path.clear();
        } else {
            close(fd);
        }
    }
    ~TemporaryDictionary() {
        if (!m_path.empty()) {
            std::remove(m_path.c_str());
        }
    }
    TemporaryDictionary(const TemporaryDictionary&) = delete;
    TemporaryDictionary& operator=(const TemporaryDictionary&) = delete;

    bool created() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
};

}  // namespace

int32_t loadDictionary(const EngineOps& ops, int32_t instance, const std::string& path, bool dos,
                       int32_t& handle) {
    int32_t status = ops.EngineLoadDictionary(instance, &handle, path.c_str());
    if (status != SAYMGR_EDICT_FORMAT) {
        return status;
    }
    const TemporaryDictionary binary;
    if (!binary.created()) {
        return SAYMGR_EFILE_OPEN;
    }
    status = ops.EngineCompileDictionary(
        instance, path.c_str(), dos ? SAYMGR_TEXT_DOS : SAYMGR_TEXT_ANSI, binary.path().c_str());
    return status == SAYMGR_OK ? ops.EngineLoadDictionary(instance, &handle, binary.path().c_str())
                               : status;
}

}  // namespace binding
