#include "clioptions.h"

#include <saymgr.h>

#include <array>
#include <charconv>
#include <functional>

#include "common/codepage.h"

namespace cli {
namespace {

using Setter = std::function<bool(CliOptions&, const std::string& value, std::string& error)>;

// One command-line option: its name, whether it takes a value, and what it sets.
struct OptionSpec {
    const char* name;
    bool takesValue;
    Setter apply;
};

std::optional<int32_t> parseInteger(const std::string& text) {
    int32_t value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (problem != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

Setter rangeSetter(int32_t CliOptions::*field, const char* name, int32_t low, int32_t high) {
    return [=](CliOptions& options, const std::string& value, std::string& error) {
        const auto number = parseInteger(value);
        if (!number || *number < low || *number > high) {
            error = std::string(name) + " takes a number from " + std::to_string(low) + " to " +
                    std::to_string(high) + ", not '" + value + "'";
            return false;
        }
        options.*field = *number;
        return true;
    };
}

Setter flagSetter(bool CliOptions::*field) {
    return [=](CliOptions& options, const std::string&, std::string&) {
        options.*field = true;
        return true;
    };
}

Setter textSetter(TextSource source) {
    return [=](CliOptions& options, const std::string& value, std::string& error) {
        if (options.textSource != TextSource::None) {
            error = "give only one of --text, --file and --dos-file";
            return false;
        }
        options.textSource = source;
        options.text = value;
        return true;
    };
}

bool setFormat(CliOptions& options, const std::string& value, std::string& error) {
    static constexpr std::array<const char*, 5> kNames{"lin16", "mulaw", "alaw", "wav8", "wav16"};
    for (int32_t i = 0; i < static_cast<int32_t>(kNames.size()); ++i) {
        if (value == kNames[i] || value == std::to_string(i)) {
            options.format = i;
            return true;
        }
    }
    error = "--format takes 0-4 or lin16, mulaw, alaw, wav8, wav16, not '" + value + "'";
    return false;
}

bool setFrequency(CliOptions& options, const std::string& value, std::string& error) {
    static constexpr std::array<std::pair<int32_t, int32_t>, 4> kCodes{
        {{SAYMGR_FREQ_7200, 7200},
         {SAYMGR_FREQ_8000, 8000},
         {SAYMGR_FREQ_10000, 10000},
         {SAYMGR_FREQ_11025, 11025}}};
    const auto number = parseInteger(value);
    for (const auto& [code, hertz] : kCodes) {
        if (number && (*number == code || *number == hertz)) {
            options.frequency = code;
            return true;
        }
    }
    error = "--frequency takes 7, 8, 10 or 11 (or 7200, 8000, 10000, 11025), not '" + value + "'";
    return false;
}

bool setSubtitles(CliOptions& options, const std::string& value, std::string& error) {
    const auto format = monitor::subtitleFormatOf(value);
    if (!format) {
        error = "--subtitles writes .srt or .vtt files, not '" + value + "'";
        return false;
    }
    options.subtitlesPath = value;
    options.subtitleFormat = *format;
    return true;
}

bool setSubtitleUnit(CliOptions& options, const std::string& value, std::string& error) {
    if (value != "word" && value != "piece") {
        error = "--subtitle-unit takes word or piece, not '" + value + "'";
        return false;
    }
    options.subtitleUnit =
        value == "word" ? monitor::SubtitleUnit::Word : monitor::SubtitleUnit::Piece;
    options.subtitleUnitGiven = true;
    return true;
}

// The options that watch the speech need speech to watch, and print one way at a time.
bool checkMonitoring(const CliOptions& options, std::string& error) {
    if (options.events && options.eventsJson) {
        error = "give only one of --events and --events-json";
        return false;
    }
    if (options.subtitleUnitGiven && options.subtitlesPath.empty()) {
        error = "--subtitle-unit is only meaningful with --subtitles";
        return false;
    }
    if (options.monitorsSpeech() && !options.speak && options.generatePath.empty()) {
        error = "--events, --events-json, --subtitles and --report need --speak or --generate";
        return false;
    }
    return true;
}

const std::vector<OptionSpec>& optionSpecs() {
    static const std::vector<OptionSpec> specs{
        {"--help", false, flagSetter(&CliOptions::help)},
        {"-h", false, flagSetter(&CliOptions::help)},
        {"--engine", true,
         [](CliOptions& o, const std::string& v, std::string&) {
             o.enginePath = v;
             return true;
         }},
        {"--null", false, flagSetter(&CliOptions::nullSink)},
        {"--list-languages", false, flagSetter(&CliOptions::listLanguages)},
        {"--info", false, flagSetter(&CliOptions::info)},
        {"--about", false, flagSetter(&CliOptions::about)},
        {"--language", true,
         rangeSetter(&CliOptions::language, "--language", 1, SAYMGR_MAX_LANGUAGES)},
        {"--text", true, textSetter(TextSource::Argument)},
        {"--file", true, textSetter(TextSource::AnsiFile)},
        {"--dos-file", true, textSetter(TextSource::DosFile)},
        {"--speak", false, flagSetter(&CliOptions::speak)},
        {"--generate", true,
         [](CliOptions& o, const std::string& v, std::string& error) {
             if (v.empty()) {
                 error = "--generate needs a file name";
                 return false;
             }
             o.generatePath = v;
             return true;
         }},
        {"--format", true, setFormat},
        {"--frequency", true, setFrequency},
        {"--jobs", true, rangeSetter(&CliOptions::jobs, "--jobs", 1, 64)},
        {"--volume", true, rangeSetter(&CliOptions::volume, "--volume", 1, 9)},
        {"--pitch", true, rangeSetter(&CliOptions::pitch, "--pitch", 1, 9)},
        {"--rate", true, rangeSetter(&CliOptions::rate, "--rate", 1, 9)},
        {"--speaker", true, rangeSetter(&CliOptions::speaker, "--speaker", 1, 9)},
        {"--dictionary", true,
         [](CliOptions& o, const std::string& v, std::string&) {
             o.dictionaries.push_back(v);
             return true;
         }},
        {"--dos", false, flagSetter(&CliOptions::dosDictionaries)},
        {"--events", false, flagSetter(&CliOptions::events)},
        {"--events-json", false, flagSetter(&CliOptions::eventsJson)},
        {"--subtitles", true, setSubtitles},
        {"--subtitle-unit", true, setSubtitleUnit},
        {"--phonemes", false, flagSetter(&CliOptions::phonemes)},
        {"--report", false, flagSetter(&CliOptions::report)},
    };
    return specs;
}

const OptionSpec* findSpec(const std::string& name) {
    for (const OptionSpec& spec : optionSpecs()) {
        if (name == spec.name) {
            return &spec;
        }
    }
    return nullptr;
}

// The default format of an output file, from its extension.
int32_t formatOfPath(const std::string& path) {
    static constexpr std::array<std::pair<const char*, int32_t>, 7> kExtensions{{
        {".wav", SAYMGR_FORMAT_WAVE16},
        {".raw", SAYMGR_FORMAT_LINEAR16},
        {".pcm", SAYMGR_FORMAT_LINEAR16},
        {".ul", SAYMGR_FORMAT_MULAW},
        {".mulaw", SAYMGR_FORMAT_MULAW},
        {".al", SAYMGR_FORMAT_ALAW},
        {".alaw", SAYMGR_FORMAT_ALAW},
    }};
    for (const auto& [extension, format] : kExtensions) {
        if (path.ends_with(extension)) {
            return format;
        }
    }
    return -1;
}

bool checkCombination(CliOptions& options, std::string& error) {
    if (options.help) {
        return true;
    }
    if (!options.generatePath.empty() && options.format < 0) {
        options.format = formatOfPath(options.generatePath);
        if (options.format < 0) {
            error = "--generate needs --format (the file name does not tell the format)";
            return false;
        }
    }
    if (options.format >= 0 && options.generatePath.empty()) {
        error = "--format is only meaningful with --generate";
        return false;
    }
    if (options.textSource == TextSource::Argument) {
        auto ansi = common::fromUtf8Exact(options.text, common::CodePage::Ansi1252);
        if (!ansi) {
            error = "--text has characters that Windows-1252 cannot represent";
            return false;
        }
        options.text = std::move(*ansi);
    }
    const bool wantsText = options.speak || !options.generatePath.empty() || options.phonemes;
    if (options.textSource != TextSource::None && !wantsText) {
        options.speak = true;
    } else if (wantsText && options.textSource == TextSource::None) {
        error = "no text: give --text, --file or --dos-file";
        return false;
    }
    if (!checkMonitoring(options, error)) {
        return false;
    }
    if (!options.speak && options.generatePath.empty() && !options.phonemes &&
        !options.listLanguages && !options.info && !options.about &&
        options.compileSource.empty()) {
        error = "nothing to do";
        return false;
    }
    return true;
}

}  // namespace

std::optional<CliOptions> parseOptions(const std::vector<std::string>& arguments,
                                       std::string& error) {
    CliOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.starts_with("--") && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--compile") {
            if (value || i + 2 >= arguments.size()) {
                error = "--compile takes two paths: the text dictionary and the binary one";
                return std::nullopt;
            }
            options.compileSource = arguments[++i];
            options.compileTarget = arguments[++i];
            continue;
        }
        const OptionSpec* spec = findSpec(name);
        if (spec == nullptr) {
            error = "unknown option '" + arguments[i] + "'";
            return std::nullopt;
        }
        if (spec->takesValue && !value) {
            if (i + 1 >= arguments.size()) {
                error = name + " needs a value";
                return std::nullopt;
            }
            value = arguments[++i];
        } else if (!spec->takesValue && value) {
            error = name + " takes no value";
            return std::nullopt;
        }
        if (!spec->apply(options, value.value_or(std::string()), error)) {
            return std::nullopt;
        }
    }
    if (!checkCombination(options, error)) {
        return std::nullopt;
    }
    return options;
}

const char* usageText() {
    return R"(Usage: voxtrial-cli [OPTIONS]
Drives the Quenvar Voxtrial speech engine (libsaymgr.so) from a shell.

Engine:
  --engine PATH          load the engine library from PATH
                         (default: libsaymgr.so beside voxtrial-cli)
  --null                 no sound device: speech plays into a silent, paced sink
  --list-languages       print the engine's languages: number, name, variant, id
  --language N           use language number N (1-based, as listed)
  --info                 print the engine's and the selected language's information
  --about                print the engine's about text

Text (speaks it when none of --speak, --generate and --phonemes is given):
  --text TEXT            the text itself
  --file PATH            an ANSI (Windows-1252) text file; '-' reads standard input
  --dos-file PATH        a DOS (code page 437) text file; '-' reads standard input

Output:
  --speak                speak the text
  --generate FILE        write the speech to FILE
  --format F             0 lin16 (16-bit linear raw), 1 mulaw, 2 alaw, 3 wav8,
                         4 wav16; default from the extension of FILE
                         (.wav .raw .pcm .ul .mulaw .al .alaw)
  --frequency CODE       7 (7.2 kHz), 8 (8 kHz), 10 (10 kHz) or 11 (11.025 kHz)
  --jobs N               write a long text (4 KiB or more) with N worker processes,
                         1 to 64; default SAYMGR_JOBS, else one per core

Voice (1 to 9; unchanged when not given):
  --volume N  --pitch N  --rate N  --speaker N

Dictionaries:
  --dictionary PATH      load a binary (.dcb) or text (.dct) dictionary; repeatable
  --dos                  text dictionaries are in code page 437 (default Windows-1252)
  --compile IN OUT       compile the text dictionary IN into the binary dictionary OUT

Monitoring:
  --events               print every engine notification with its time in ms
  --events-json          print every notification as a line of JSON, with the ms since
                         the command and the audio position
  --subtitles FILE       write the word timings as subtitles: .srt (SubRip) or .vtt
                         (WebVTT), from the extension of FILE
  --subtitle-unit U      one cue per word (default) or per piece (sentence)
  --report               after each command print the time to the first audio, the audio
                         length, the real-time factor, the words per minute and the lag
                         of the word marks behind their audio
  --phonemes             print the IPA transcription of the text, word by word

Other:
  -h, --help             show this text

Options with a value also take the form --name=value. Ctrl+C stops speech cleanly.
Exit status: 0 on success, 1 when the engine or a file fails, 2 for bad arguments,
130 when interrupted.
)";
}

}  // namespace cli
