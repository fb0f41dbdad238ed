#include "dictionary/dictionaryfile.h"

#include <saymgr.h>

#include "common/filedescriptor.h"
#include "common/replacementfile.h"

namespace saymgr::dictionary {

int32_t DictionaryFile::read(const std::string& path, std::size_t limit, std::string& bytes) {
    switch (common::readRegularFile(path, limit, bytes)) {
        case common::ReadStatus::Ok:
            return SAYMGR_OK;
        case common::ReadStatus::Missing:
            return SAYMGR_EFILE_NOT_FOUND;
        case common::ReadStatus::Unreadable:
            break;
    }
    return SAYMGR_EFILE_OPEN;
}

int32_t DictionaryFile::writeAtomically(const std::string& path, std::string_view bytes) {
    switch (common::ReplacementFile::replace(path, bytes)) {
        case common::ReplacementFile::Status::Ok:
            return SAYMGR_OK;
        case common::ReplacementFile::Status::WriteFailed:
            return SAYMGR_EFILE_WRITE;
        case common::ReplacementFile::Status::CannotCreate:
            break;
    }
    return SAYMGR_EFILE_OPEN;
}

bool DictionaryFile::sameFile(const std::string& first, const std::string& second) {
    return common::sameFile(first, second);
}

}  // namespace saymgr::dictionary
