#pragma once

#include <QEvent>
#include <cstdint>

namespace context {

// Command identifiers: menu items, buttons, shortcuts and the keyboard hook all deliver these.
enum CommandId : int32_t {
    IDM_OPEN = 100,
    IDM_EXIT = 101,
    IDM_LOADDICT = 102,
    IDM_UNLOADDICT = 103,
    IDM_DEFAULTS = 114,
    IDM_SYSTEMMODE = 115,
    IDM_HELPCONTENTS = 116,
    IDM_ABOUT = 117,
    IDM_LANGHELP = 118,
    IDM_ABOUTENGINE = 119,
    IDM_FREQ10K = 131,
    IDM_FREQ11K = 132,
    IDM_FREQ8K = 133,
    IDM_FREQ7K = 134,
    IDM_SOURCEFILE = 135,
    IDM_SOURCECLIPBOARD = 136,
    IDM_SOURCEKEYBOARD = 137,
    IDM_SHOWMESSAGE = 140,
    IDM_SETACCEL = 141,
    IDM_GEN16LINEAR = 161,
    IDM_GENMULAW = 162,
    IDM_GENALAW = 163,
    IDM_GEN16WAVE = 164,
    IDM_GEN8WAVE = 165,
    IDM_BENCHMONITOR = 170,
    IDC_SPEAK = 250,
    IDC_ABOUTSPEAK = 251,
    IDC_PAUSE = 252,
    IDC_STOP = 253,
    IDC_DEMO = 254,
    IDM_SPEAKER1 = 500,
    IDM_SPEAKER9 = 508,
    IDM_LANGUAGE1 = 600,
    IDM_LANGUAGE25 = 624,
};

// Child control identifiers of the main window.
enum ControlId : int32_t {
    IDC_VOLUME = 201,
    IDC_PITCH = 202,
    IDC_RATE = 203,
    IDC_VOLUME_LABEL = 205,
    IDC_PITCH_LABEL = 206,
    IDC_RATE_LABEL = 207,
    IDC_TEXT = 217,
    IDC_NOTICE = 218,
    IDC_LANGUAGE_LABEL = 219,
    IDC_SOURCE_LABEL = 220,
};

// The program's private window messages and the engine's notification messages, by number.
enum MessageNumber : int32_t {
    UM_REFRESH = 0x2000,
    UM_RESTORESEL = 0x2001,
    UM_CREDITSPHOTO = 0x2004,
    UM_CREDITSSUPPORT = 0x2005,
    UM_GENPCM = 0x2010,
    UM_GENPCMDONE = 0x2011,
    UM_GENPCMIDLE = 0x2012,
    UM_STOPENGINE = 0x2013,
    NOTIFY_START = 7000,
    NOTIFY_END = 7001,
    NOTIFY_CHUNK = 7002,
};

// Window notifications that have no Qt event of their own: an image button is being drawn, a
// slider was moved by the user (wParam: the slider's control id).
inline constexpr int kDrawItemEventType = QEvent::User + 0x002B;
inline constexpr int kHScrollEventType = QEvent::User + 0x0114;

}  // namespace context
