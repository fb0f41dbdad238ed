#pragma once

#include "speech/pcmgeneration.h"
#include "speech/speakcommands.h"
#include "speech/speechrequests.h"
#include "speech/spokentextview.h"

namespace speech {

class SpeechControls;

// The speaking subsystem of one program: the requests with their text blocks, the view of the
// engine's progress, the speak commands and the sound file generation.
struct Speech {
    Speech(context::ProgramContext& program, SpeechControls& controls)
        : requests(program),
          spokenText(program, requests),
          commands(program, requests, controls),
          generation(program, requests) {}

    SpeechRequests requests;
    SpokenTextView spokenText;
    SpeakCommands commands;
    PcmGeneration generation;
};

}  // namespace speech
