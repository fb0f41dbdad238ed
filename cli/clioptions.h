#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "monitor/subtitles.h"

namespace cli {

// Where the text to speak comes from.
enum class TextSource { None, Argument, AnsiFile, DosFile };

// What one run of voxtrial-cli is asked to do, as read from its arguments.
struct CliOptions {
    bool help = false;
    std::string enginePath;
    bool nullSink = false;
    bool listLanguages = false;
    bool info = false;     // print the engine's and the language's information
    bool about = false;    // print the engine's about text
    int32_t language = 0;  // 1-based; 0 = the first available language
    TextSource textSource = TextSource::None;
    std::string text;  // --text converted to Windows-1252, or the file path ("-" = stdin)
    bool speak = false;
    std::string generatePath;
    int32_t format = -1;
    int32_t frequency = 0;  // frequency code; 0 = leave the engine's
    int32_t jobs = 0;       // worker processes for a long --generate; 0 = the engine's default
    int32_t volume = -1;
    int32_t pitch = -1;
    int32_t rate = -1;
    int32_t speaker = -1;
    std::vector<std::string> dictionaries;
    bool dosDictionaries = false;
    std::string compileSource;
    std::string compileTarget;
    bool events = false;
    bool eventsJson = false;
    std::string subtitlesPath;
    monitor::SubtitleFormat subtitleFormat = monitor::SubtitleFormat::Srt;
    monitor::SubtitleUnit subtitleUnit = monitor::SubtitleUnit::Word;
    bool subtitleUnitGiven = false;
    bool phonemes = false;
    bool report = false;

    // Whether the speech needs watching through the engine's notifications.
    bool monitorsSpeech() const { return events || eventsJson || report || !subtitlesPath.empty(); }

    bool hasVoiceParameters() const {
        return volume != -1 || pitch != -1 || rate != -1 || speaker != -1;
    }
};

// Reads the command line. Returns the options, or nullopt with a one-line explanation in
// `error`.
std::optional<CliOptions> parseOptions(const std::vector<std::string>& arguments,
                                       std::string& error);

// The --help text.
const char* usageText();

}  // namespace cli
