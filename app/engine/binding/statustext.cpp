#include "engine/binding/statustext.h"

#include <array>

namespace engine {
namespace {

struct StatusMessage {
    int32_t code;
    const char* text;
};

constexpr std::array kMessages{
    StatusMessage{-1, "Specified file not found!"},
    StatusMessage{-2, "File opening error!"},
    StatusMessage{-3, "File writing error!"},
    StatusMessage{-4, "Memory allocation error!"},
    StatusMessage{-5, "Memory locking error!"},
    StatusMessage{-6, "Memory unlocking error!"},
    StatusMessage{-7, "Memory free error!"},
    StatusMessage{-8, "Wave device opening error!"},
    StatusMessage{-9, "Wave device closing error!"},
    StatusMessage{-10, "Specified waveformat not supported!"},
    StatusMessage{-11, "No wave devices available!"},
    StatusMessage{-12, "TTS has not been initialized!"},
    StatusMessage{-13, "Specified frequency not available!"},
    StatusMessage{-14, "Parameter value is out of range!"},
    StatusMessage{-15, "Specified output format not supported!"},
    StatusMessage{-16, "TTS system is still busy!"},
    StatusMessage{-18, "User dictionary loading error!"},
    StatusMessage{-19, "Bad user dictionaty handle has been specified!"},
    StatusMessage{-20, "Wave device writing error!"},
    StatusMessage{-21, "No input text has been specified!"},
    StatusMessage{-22, "Bad Speech control command has been issued!"},
    StatusMessage{-23, "Phonetic string generating error!"},
    StatusMessage{-24, "Invalid user dictionary format has been found!"},
    StatusMessage{-25, "TTS instance creation error!"},
    StatusMessage{-26, "Invalid TTS instance has been specified!"},
    StatusMessage{-28, "Invalid engine id has been specified!"},
    StatusMessage{-29, "Specified TTS instance is busy!"},
    StatusMessage{-30, "TTS engine loading error!"},
    StatusMessage{-31, "No engine has been selected!"},
    StatusMessage{101, "No data found in Clipboard!"},
    StatusMessage{102, "No file has been selected!"},
    StatusMessage{103, "No data found in keyboard input window!"},
    StatusMessage{104, "No INI file found!"},
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

}  // namespace engine
