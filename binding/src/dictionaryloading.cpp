#include "binding/dictionaryloading.h"

#include "common/temporaryfile.h"

namespace binding {

int32_t loadDictionary(const EngineOps& ops, int32_t instance, const std::string& path, bool dos,
                       int32_t& handle) {
    int32_t status = ops.EngineLoadDictionary(instance, &handle, path.c_str());
    if (status != SAYMGR_EDICT_FORMAT) {
        return status;
    }
    const common::TemporaryFile binary("voxtrial-dict-", ".dcb");
    if (binary.path().empty()) {
        return SAYMGR_EFILE_OPEN;
    }
    status = ops.EngineCompileDictionary(
        instance, path.c_str(), dos ? SAYMGR_TEXT_DOS : SAYMGR_TEXT_ANSI, binary.path().c_str());
    return status == SAYMGR_OK ? ops.EngineLoadDictionary(instance, &handle, binary.path().c_str())
                               : status;
}

}  // namespace binding
