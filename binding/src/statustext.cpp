#include "binding/statustext.h"

#include <saymgr.h>

#include <array>

namespace binding {
namespace {

struct StatusMessage {
    int32_t code;
    const char* text;
};

constexpr std::array kMessages{
    StatusMessage{SAYMGR_EFILE_NOT_FOUND, "Specified file not found!"},
    StatusMessage{SAYMGR_EFILE_OPEN, "File opening error!"},
    StatusMessage{SAYMGR_EFILE_WRITE, "File writing error!"},
    StatusMessage{SAYMGR_EMEMORY_ALLOC, "Memory allocation error!"},
    StatusMessage{SAYMGR_EMEMORY_LOCK, "Memory locking error!"},
    StatusMessage{SAYMGR_EMEMORY_UNLOCK, "Memory unlocking error!"},
    StatusMessage{SAYMGR_EMEMORY_FREE, "Memory free error!"},
    StatusMessage{SAYMGR_EDEVICE_OPEN, "Wave device opening error!"},
    StatusMessage{SAYMGR_EDEVICE_CLOSE, "Wave device closing error!"},
    StatusMessage{SAYMGR_EWAVEFORMAT, "Specified waveformat not supported!"},
    StatusMessage{SAYMGR_ENO_DEVICE, "No wave devices available!"},
    StatusMessage{SAYMGR_ENOT_INITIALIZED, "TTS has not been initialized!"},
    StatusMessage{SAYMGR_EFREQUENCY, "Specified frequency not available!"},
    StatusMessage{SAYMGR_ERANGE, "Parameter value is out of range!"},
    StatusMessage{SAYMGR_EOUTPUT_FORMAT, "Specified output format not supported!"},
    StatusMessage{SAYMGR_EBUSY, "TTS system is still busy!"},
    StatusMessage{SAYMGR_EDICT_LOAD, "User dictionary loading error!"},
    StatusMessage{SAYMGR_EDICT_HANDLE, "Bad user dictionaty handle has been specified!"},
    StatusMessage{SAYMGR_EDEVICE_WRITE, "Wave device writing error!"},
    StatusMessage{SAYMGR_ENO_TEXT, "No input text has been specified!"},
    StatusMessage{SAYMGR_ECONTROL_COMMAND, "Bad Speech control command has been issued!"},
    StatusMessage{SAYMGR_EPHONETIC, "Phonetic string generating error!"},
    StatusMessage{SAYMGR_EDICT_FORMAT, "Invalid user dictionary format has been found!"},
    StatusMessage{SAYMGR_EINSTANCE_CREATE, "TTS instance creation error!"},
    StatusMessage{SAYMGR_EINSTANCE, "Invalid TTS instance has been specified!"},
    StatusMessage{SAYMGR_EENGINE_ID, "Invalid engine id has been specified!"},
    StatusMessage{SAYMGR_EINSTANCE_BUSY, "Specified TTS instance is busy!"},
    StatusMessage{SAYMGR_EENGINE_LOADING, "TTS engine loading error!"},
    StatusMessage{SAYMGR_ENO_ENGINE, "No engine has been selected!"},
};

}  // namespace

const char* statusText(int32_t code) {
    for (const StatusMessage& message : kMessages) {
        if (message.code == code) {
            return message.text;
        }
    }
    return nullptr;
}

std::string statusMessage(int32_t code) {
    if (const char* text = statusText(code)) {
        return text;
    }
    return "Unknown error [ " + std::to_string(code) + " ] found!";
}

}  // namespace binding
