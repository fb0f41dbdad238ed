#include <fcntl.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "clirunner.h"

namespace {

using clitest::runCli;

const std::string kSentence = "Hello world, this is a test of the speech engine.";

// A fresh folder for one test, removed afterwards.
class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "voxtrial-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string file(const std::string& name) const { return m_dir + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    clitest::RunResult run(const std::vector<std::string>& arguments,
                           const std::map<std::string, std::string>& environment = {}) const {
        return runCli(arguments, m_dir, environment);
    }

    std::string m_dir;
};

// What a sound file holds, read with libsndfile.
struct Sound {
    bool opened = false;
    int sampleRate = 0;
    int format = 0;
    double seconds = 0;
    double peak = 0;
};

Sound readSound(const std::string& path, int format, int sampleRate) {
    SF_INFO info{};
    const bool raw = format == 0 || format == 1 || format == 2;
    if (raw) {
        static constexpr int kRawFormats[] = {SF_FORMAT_RAW | SF_FORMAT_PCM_16,
                                              SF_FORMAT_RAW | SF_FORMAT_ULAW,
                                              SF_FORMAT_RAW | SF_FORMAT_ALAW};
        info.format = kRawFormats[format];
        info.samplerate = sampleRate;
        info.channels = 1;
    }
    Sound sound;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return sound;
    }
    sound.opened = info.channels == 1;
    sound.sampleRate = info.samplerate;
    sound.format = info.format;
    sound.seconds = static_cast<double>(info.frames) / info.samplerate;
    std::vector<double> samples(static_cast<std::size_t>(info.frames));
    sf_read_double(file, samples.data(), info.frames);
    for (const double sample : samples) {
        sound.peak = std::max(sound.peak, std::fabs(sample));
    }
    sf_close(file);
    return sound;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

TEST_F(CliTest, HelpAndBadArguments) {
    const auto help = run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("Usage: voxtrial-cli"), std::string::npos);

    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{}, "nothing to do"},
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--text"}, "--text needs a value"},
        {{"--volume", "12", "--text", "a"}, "--volume takes a number from 1 to 9"},
        {{"--speaker=0", "--text", "a"}, "--speaker takes a number from 1 to 9"},
        {{"--language", "x", "--list-languages"}, "--language takes a number"},
        {{"--text", "a", "--generate", "out.bin"}, "--generate needs --format"},
        {{"--text", "a", "--generate", ""}, "--generate needs a file name"},
        {{"--text", "a", "--generate=", "--format", "4"}, "--generate needs a file name"},
        {{"--text", "a", "--rate", "5x"}, "--rate takes a number from 1 to 9, not '5x'"},
        {{"--text", "a", "--generate", "o.wav", "--format", "ogg"}, "--format takes"},
        {{"--text", "a", "--frequency", "9"}, "--frequency takes 7, 8, 10 or 11"},
        {{"--text", "a", "--file", "b"}, "give only one of"},
        {{"--text", "\xF0\x9F\x98\x80"}, "cannot represent"},
        {{"--compile", "only-one"}, "--compile takes two paths"},
        {{"--speak"}, "no text"},
        {{"--null=1", "--list-languages"}, "--null takes no value"},
        {{"--text", "a", "--subtitles", "a.txt"}, "--subtitles writes .srt or .vtt files"},
        {{"--text", "a", "--subtitles", "a.srt", "--subtitle-unit", "line"}, "word or piece"},
        {{"--text", "a", "--subtitle-unit", "word"}, "only meaningful with --subtitles"},
        {{"--text", "a", "--events", "--events-json"}, "only one of --events and --events-json"},
        {{"--text", "a", "--phonemes", "--report"}, "need --speak or --generate"},
    };
    for (const auto& c : cases) {
        const auto result = run(c.arguments);
        EXPECT_EQ(result.exitStatus, 2) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("Usage:"), std::string::npos) << c.message;
    }
}

TEST_F(CliTest, FailuresCarryTheEngineMessages) {
    const auto missing = run({"--null", "--file", "nowhere.txt"});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_EQ(missing.err, "voxtrial-cli: Specified file not found! (nowhere.txt)\n");

    const auto noEngine = run({"--engine", file("nothing.so"), "--list-languages"});
    EXPECT_EQ(noEngine.exitStatus, 1);
    EXPECT_NE(noEngine.err.find("voxtrial-cli: TTS engine loading error!"), std::string::npos);

    const auto unknown = run({"--engine", VOXTRIAL_REFUSING_ENGINE_PATH, "--list-languages"});
    EXPECT_EQ(unknown.exitStatus, 1);
    EXPECT_EQ(unknown.err, "voxtrial-cli: Unknown error [ -27 ] found! (opening the engine)\n");

    const auto language = run({"--language", "2", "--null", "--text", "a"});
    EXPECT_EQ(language.exitStatus, 0) << language.err;
}

TEST_F(CliTest, ListsTheLanguages) {
    const auto result = run({"--list-languages"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const auto rows = lines(result.out);
    ASSERT_EQ(rows.size(), 25u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::istringstream row(rows[i]);
        std::string number, name, variant, id;
        std::getline(row, number, '\t');
        std::getline(row, name, '\t');
        std::getline(row, variant, '\t');
        std::getline(row, id, '\t');
        EXPECT_EQ(number, std::to_string(i + 1));
        EXPECT_FALSE(name.empty()) << rows[i];
        EXPECT_GT(std::stoi(id), 0) << rows[i];
    }
    EXPECT_NE(rows[0].find("English"), std::string::npos);
}

TEST_F(CliTest, PrintsInformationOfTheSelectedLanguage) {
    const auto result = run({"--info", "--about", "--language", "3"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const auto rows = lines(result.out);
    ASSERT_EQ(rows.size(), 5u) << result.out;
    EXPECT_TRUE(rows[0].starts_with("Manufacturer: ")) << rows[0];
    EXPECT_TRUE(rows[2].starts_with("Language: German")) << rows[2];
    EXPECT_GT(rows[4].size(), 20u);
}

TEST_F(CliTest, GeneratesEveryFormatAtEveryFrequency) {
    static constexpr std::pair<int, int> kFrequencies[] = {
        {7, 7200}, {8, 8000}, {10, 10000}, {11, 11025}};
    static constexpr const char* kFormatNames[] = {"lin16", "mulaw", "alaw", "wav8", "wav16"};
    static constexpr int kWaveFormats[] = {0, 0, 0, SF_FORMAT_WAV | SF_FORMAT_PCM_U8,
                                           SF_FORMAT_WAV | SF_FORMAT_PCM_16};
    double firstSeconds = 0;
    for (int format = 0; format < 5; ++format) {
        for (const auto& [code, hertz] : kFrequencies) {
            const std::string name =
                std::string(kFormatNames[format]) + "-" + std::to_string(code) + ".out";
            const auto result = run({"--text", kSentence, "--generate", name, "--format",
                                     kFormatNames[format], "--frequency", std::to_string(code)});
            ASSERT_EQ(result.exitStatus, 0) << name << ": " << result.err;
            const Sound sound = readSound(file(name), format, hertz);
            ASSERT_TRUE(sound.opened) << name;
            EXPECT_EQ(sound.sampleRate, hertz) << name;
            if (kWaveFormats[format] != 0) {
                EXPECT_EQ(sound.format, kWaveFormats[format]) << name;
            }
            EXPECT_GT(sound.peak, 0.05) << name;
            EXPECT_GT(sound.seconds, 1.0) << name;
            EXPECT_LT(sound.seconds, 10.0) << name;
            // The same speech lasts as long at every frequency and in every format.
            firstSeconds = firstSeconds == 0 ? sound.seconds : firstSeconds;
            EXPECT_NEAR(sound.seconds, firstSeconds, firstSeconds * 0.1) << name;
        }
    }
}

TEST_F(CliTest, FormatFollowsTheExtension) {
    ASSERT_EQ(run({"--text", "Hello", "--generate", "hello.wav"}).exitStatus, 0);
    const Sound sound = readSound(file("hello.wav"), 4, 0);
    ASSERT_TRUE(sound.opened);
    EXPECT_EQ(sound.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
}

TEST_F(CliTest, ReadsTextFilesAndStandardInput) {
    write("dos.txt",
          "Gr\x81\xE1"
          "e aus M\x81nchen.");
    write("ansi.txt",
          "Gr\xFC\xDF"
          "e aus M\xFCnchen.");
    const auto dos = run({"--dos-file", "dos.txt", "--generate", "dos.wav", "--events"});
    ASSERT_EQ(dos.exitStatus, 0) << dos.err;
    EXPECT_NE(dos.out.find("\"München\""), std::string::npos) << dos.out;
    const auto ansi = run({"--file", "ansi.txt", "--generate", "ansi.wav", "--events"});
    ASSERT_EQ(ansi.exitStatus, 0) << ansi.err;
    EXPECT_NE(ansi.out.find("\"Grüße\""), std::string::npos) << ansi.out;
    const auto piped =
        runCli({"--file", "-", "--generate", "piped.wav"}, m_dir, {}, {}, "Hello from a pipe.");
    ASSERT_EQ(piped.exitStatus, 0) << piped.err;
    EXPECT_GT(readSound(file("piped.wav"), 4, 0).peak, 0.05);
}

TEST_F(CliTest, PrintsEventsThatCoverTheText) {
    const auto result = run({"--null", "--speak", "--events", "--text", "Hello world. Good bye."});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const auto rows = lines(result.out);
    ASSERT_GE(rows.size(), 4u) << result.out;
    EXPECT_NE(rows.front().find(" 7000 start"), std::string::npos) << rows.front();
    EXPECT_NE(rows.back().find(" 7001 end"), std::string::npos) << rows.back();
    long long previousTime = 0;
    int pieceEnd = 0;
    int words = 0;
    for (const std::string& row : rows) {
        std::istringstream fields(row);
        long long time = 0;
        int code = 0;
        std::string name;
        fields >> time >> code >> name;
        EXPECT_GE(time, previousTime) << row;
        previousTime = time;
        if (code == 7002) {
            int start = 0, length = 0;
            fields >> start >> length;
            EXPECT_EQ(start, pieceEnd) << row;
            pieceEnd = start + length;
        } else if (code == 7003) {
            ++words;
            EXPECT_TRUE(row.ends_with("\"Hello\"") || row.ends_with("\"world\"") ||
                        row.ends_with("\"Good\"") || row.ends_with("\"bye\""))
                << row;
        }
    }
    EXPECT_EQ(pieceEnd, 22);
    EXPECT_EQ(words, 4);
}

TEST_F(CliTest, CompilesAndUsesDictionaries) {
    const std::string longer = "this is a much longer replacement phrase for a very short word";
    write("words.dct", "; test\r\ncat " + longer + "\r\n");
    write("dos.dct", "M\x81ller " + longer + "\r\n");
    std::filesystem::create_directory(file("tmp"));
    const std::map<std::string, std::string> environment{{"TMPDIR", file("tmp")}};

    const auto compiled = run({"--compile", "words.dct", "words.dcb"});
    ASSERT_EQ(compiled.exitStatus, 0) << compiled.err;
    std::ifstream binary(file("words.dcb"), std::ios::binary);
    std::string magic(6, '\0');
    binary.read(magic.data(), 6);
    EXPECT_EQ(magic, "QVXDCB");

    auto seconds = [&](const std::string& text, std::vector<std::string> extra) {
        std::vector<std::string> arguments{"--text", text, "--generate", "x.wav"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        const auto result = run(arguments, environment);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        return readSound(file("x.wav"), 4, 0).seconds;
    };
    const double plain = seconds("cat", {});
    EXPECT_GT(seconds("cat", {"--dictionary", "words.dcb"}), plain * 3);
    EXPECT_GT(seconds("Cat", {"--dictionary", "words.dct"}), plain * 3);
    EXPECT_LT(seconds("cats", {"--dictionary", "words.dct"}), plain * 2);
    const double name = seconds("Müller", {});
    EXPECT_GT(seconds("Müller", {"--dos", "--dictionary", "dos.dct"}), name * 3);
    // The temporary binary dictionaries are gone.
    EXPECT_TRUE(std::filesystem::is_empty(file("tmp")));
}

TEST_F(CliTest, RefusesBadDictionaries) {
    write("bad.dct", "cat dog\nlonely\n");
    const auto bad = run({"--text", "cat", "--null", "--dictionary", "bad.dct"});
    EXPECT_EQ(bad.exitStatus, 1);
    EXPECT_EQ(bad.err, "voxtrial-cli: Invalid user dictionary format has been found! (bad.dct)\n");

    write("good.dct", "cat dog\n");
    ASSERT_EQ(run({"--compile", "good.dct", "good.dcb"}).exitStatus, 0);
    std::string bytes;
    {
        std::ifstream in(file("good.dcb"), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bytes[bytes.size() - 3] ^= 0x40;
    write("damaged.dcb", bytes);
    const auto damaged = run({"--text", "cat", "--null", "--dictionary", "damaged.dcb"});
    EXPECT_EQ(damaged.exitStatus, 1);
    EXPECT_EQ(damaged.err, "voxtrial-cli: User dictionary loading error! (damaged.dcb)\n");

    const auto missing = run({"--compile", "none.dct", "none.dcb"});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_EQ(missing.err, "voxtrial-cli: Specified file not found! (none.dct)\n");
    EXPECT_FALSE(std::filesystem::exists(file("none.dcb")));

    // A target that cannot be written is named, not the source.
    const auto folder = run({"--compile", "good.dct", m_dir});
    EXPECT_EQ(folder.exitStatus, 1);
    EXPECT_EQ(folder.err, "voxtrial-cli: File opening error! (" + m_dir + ")\n");
}

TEST_F(CliTest, InterruptStopsSpeechCleanly) {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += kSentence + " ";
    }
    const auto started = std::chrono::steady_clock::now();
    // Paced like a real device, so the speech would take minutes.
    const auto result = runCli({"--null", "--speak", "--events", "--text", text}, m_dir,
                               {{"SAYMGR_PACE", "1"}}, clitest::onceSpeechStarts(m_dir));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    EXPECT_EQ(result.exitStatus, 130) << result.err;
    EXPECT_EQ(result.err, "voxtrial-cli: stopped\n");
    EXPECT_NE(result.out.find(" 7001 end"), std::string::npos) << result.out;
}

TEST_F(CliTest, InterruptEndsAWaitForInput) {
    // A named pipe that is open for writing but never written: reading the text blocks. The
    // interrupt comes once the CLI has opened it for reading.
    ASSERT_EQ(mkfifo(file("pipe").c_str(), 0600), 0);
    int writeEnd = -1;
    const auto result = runCli({"--file", "pipe", "--generate", "out.wav"}, m_dir, {}, [&] {
        writeEnd = open(file("pipe").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        return writeEnd >= 0;
    });
    if (writeEnd >= 0) {
        close(writeEnd);
    }
    EXPECT_EQ(result.exitStatus, 130);
    EXPECT_EQ(result.err, "voxtrial-cli: stopped\n");
    EXPECT_FALSE(std::filesystem::exists(file("out.wav")));
}

TEST_F(CliTest, InterruptLeavesACompleteSoundFile) {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += kSentence + " ";
    }
    write("long.txt", text);
    const auto result = runCli({"--file", "long.txt", "--generate", "long.wav", "--events"}, m_dir,
                               {}, clitest::onceSpeechStarts(m_dir));
    EXPECT_EQ(result.exitStatus, 130) << result.err;
    SF_INFO info{};
    SNDFILE* sound = sf_open(file("long.wav").c_str(), SFM_READ, &info);
    ASSERT_NE(sound, nullptr) << sf_strerror(nullptr);
    sf_close(sound);
    // The header counts exactly the samples that were written.
    const auto size = static_cast<long long>(std::filesystem::file_size(file("long.wav")));
    EXPECT_EQ(size - info.frames * 2, 44);
}

}  // namespace

// --phonemes lists each word with its bytes, and speaks only when asked; --report prints the
// figures after the command.
TEST_F(CliTest, PrintsPhonemesAndTheReport) {
    const auto phonemes = run({"--phonemes", "--text", "Dr. Smith's cat sat."});
    ASSERT_EQ(phonemes.exitStatus, 0) << phonemes.err;
    std::vector<std::string> columns;
    for (const std::string& line : lines(phonemes.out)) {
        columns.push_back(line.substr(0, line.rfind('\t')));
        EXPECT_GT(line.size(), columns.back().size() + 1) << "phonemes after " << line;
    }
    const std::vector<std::string> expected{"0\t2\tDr", "4\t7\tSmith's", "12\t3\tcat",
                                            "16\t3\tsat"};
    EXPECT_EQ(columns, expected);

    const auto report = run({"--null", "--report", "--text", kSentence});
    ASSERT_EQ(report.exitStatus, 0) << report.err;
    const auto reported = lines(report.out);
    ASSERT_EQ(reported.size(), 6u) << report.out;
    EXPECT_EQ(reported[0], "speak:");
    EXPECT_EQ(report.out.find("n/a"), std::string::npos) << "every figure is known";
    EXPECT_NE(reported[5].find("(10 words)"), std::string::npos) << reported[5];
}

// One cue of a SubRip file.
struct SrtCue {
    int64_t startMs;
    int64_t endMs;
    std::string text;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int64_t srtMs(const std::string& stamp) {
    int hours = 0, minutes = 0, seconds = 0, ms = 0;
    std::sscanf(stamp.c_str(), "%d:%d:%d,%d", &hours, &minutes, &seconds, &ms);
    return ((hours * 60LL + minutes) * 60 + seconds) * 1000 + ms;
}

std::vector<SrtCue> readSrt(const std::string& path) {
    const std::vector<std::string> all = lines(readAll(path));
    std::vector<SrtCue> cues;
    for (std::size_t i = 0; i + 2 < all.size(); i += 4) {
        EXPECT_EQ(all[i], std::to_string(cues.size() + 1));
        const auto arrow = all[i + 1].find(" --> ");
        cues.push_back(
            {srtMs(all[i + 1].substr(0, arrow)), srtMs(all[i + 1].substr(arrow + 5)), all[i + 2]});
    }
    return cues;
}

// The words of a text: runs between blanks, without the punctuation around them.
std::vector<std::string> wordsOf(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        const auto first = word.find_first_not_of(",.!?;:");
        const auto last = word.find_last_not_of(",.!?;:");
        if (first != std::string::npos) {
            words.push_back(word.substr(first, last - first + 1));
        }
    }
    return words;
}

// Where the sound begins again after each pause in a 16-bit wave file, in ms: the first
// sample above a thousandth of full scale after at least `gapMs` of quiet (eSpeak NG's pauses
// are silent). Only words that follow a pause have an onset this finds.
std::vector<double> onsetsAfterPauses(const std::string& path, double gapMs) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    std::vector<short> samples(static_cast<std::size_t>(info.frames));
    sf_read_short(file, samples.data(), info.frames);
    sf_close(file);
    const auto gap = static_cast<std::size_t>(gapMs * info.samplerate / 1000);
    std::vector<double> onsets;
    std::size_t quiet = gap;  // the very start counts as quiet
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) <= 32) {
            ++quiet;
            continue;
        }
        if (quiet >= gap) {
            onsets.push_back(static_cast<double>(i) * 1000 / info.samplerate);
        }
        quiet = 0;
    }
    return onsets;
}

// The subtitles of a generated paragraph: cues in order without overlap, every word in exactly
// one word cue, and each cue starting within 20 ms of its word's sound in the file. Each word
// of this paragraph follows a pause, so the sound itself shows where each one begins.
TEST_F(CliTest, SubtitlesFollowTheWordsInTheSound) {
    const std::string paragraph =
        "Morning, neighbours! Lemons, melons, olives, onions, raisins. Sunshine, rain, snow, "
        "sleet. Honestly, truly, however, whenever!";
    const auto result =
        run({"--text", paragraph, "--generate", "list.wav", "--subtitles", "list.srt"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const std::vector<SrtCue> cues = readSrt(file("list.srt"));

    std::vector<std::string> cueWords;
    for (std::size_t i = 0; i < cues.size(); ++i) {
        EXPECT_LT(cues[i].startMs, cues[i].endMs) << cues[i].text;
        if (i + 1 < cues.size()) {
            EXPECT_LE(cues[i].endMs, cues[i + 1].startMs) << cues[i].text;
        }
        const auto words = wordsOf(cues[i].text);
        cueWords.insert(cueWords.end(), words.begin(), words.end());
    }
    EXPECT_EQ(cueWords, wordsOf(paragraph));
    EXPECT_EQ(cues.size(), cueWords.size()) << "one word a cue: no word here is joined";

    const std::vector<double> onsets = onsetsAfterPauses(file("list.wav"), 60);
    ASSERT_EQ(onsets.size(), cues.size());
    for (std::size_t i = 0; i < cues.size(); ++i) {
        EXPECT_NEAR(static_cast<double>(cues[i].startMs), onsets[i], 20) << cues[i].text;
    }
}

namespace {

using clitest::onceSpeechStarts;
using clitest::RunLimits;

// What a run left in its folder besides the files the test put there and the runner's own.
std::vector<std::string> leftovers(const std::string& folder, const std::set<std::string>& known) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!known.contains(name) && name != ".stdin" && name != ".stdout" && name != ".stderr") {
            names.push_back(name);
        }
    }
    return names;
}

TEST_F(CliTest, APaceThatIsNoNumberOfRealTimeIsRefused) {
    for (const char* pace : {"inf", "1e-300", "-1", "nan", "2x", "", "1e7"}) {
        const auto refused = run({"--null", "--text", "a", "--speak"}, {{"SAYMGR_PACE", pace}});
        if (*pace == '\0') {
            EXPECT_EQ(refused.exitStatus, 0) << "an empty value is no setting";
            continue;
        }
        EXPECT_EQ(refused.exitStatus, 2) << pace;
        EXPECT_EQ(refused.err,
                  "voxtrial-cli: SAYMGR_PACE takes 0 or a number from 0.001 to 1e+06, "
                  "not '" +
                      std::string(pace) + "'\n");
    }
    EXPECT_EQ(run({"--null", "--text", "a", "--speak"}, {{"SAYMGR_PACE", "0"}}).exitStatus, 0);
}

TEST_F(CliTest, HardLimitsEndWithAMessageAndLeaveNothingBehind) {
    // A text without end is refused once it passes the limit, before memory runs out.
    const auto endless = run({"--null", "--file", "/dev/zero", "--generate", "z.wav"});
    EXPECT_EQ(endless.exitStatus, 1);
    EXPECT_NE(endless.err.find("Memory allocation error! (/dev/zero: more than 32 MiB of text)"),
              std::string::npos)
        << endless.err;

    // A file-size limit is a write error, not a signal; the engine's start-up survives it too.
    write("long.txt",
          std::string(20, 'x') + std::string(3000, ' ') + "The end. " + std::string(200, 'w'));
    const RunLimits small{{{RLIMIT_FSIZE, 1000000}}, {}, SIGINT};
    const auto listed = runCli({"--null", "--list-languages"}, m_dir, {}, {}, {}, small);
    EXPECT_EQ(listed.exitStatus, 0) << listed.err;
    std::string story;
    for (int i = 0; i < 400; ++i) {
        story += "This sentence is one of many that fill a long story. ";
    }
    write("story.txt", story);
    const auto limited = runCli({"--null", "--file", "story.txt", "--generate", "story.wav"}, m_dir,
                                {}, {}, {}, small);
    EXPECT_EQ(limited.exitStatus, 1);
    EXPECT_NE(limited.err.find("File writing error!"), std::string::npos) << limited.err;
    EXPECT_EQ(leftovers(m_dir, {"long.txt", "story.txt"}), std::vector<std::string>{});

    // Output that cannot be written fails the run.
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"},
          {"--null", "--list-languages"},
          {"--null", "--text", "a few words", "--speak", "--events"}}) {
        const auto full = runCli(arguments, m_dir, {}, {}, {}, RunLimits{{}, "/dev/full", SIGINT});
        EXPECT_EQ(full.exitStatus, 1) << arguments.front();
        EXPECT_NE(full.err.find("voxtrial-cli: cannot write the output: No space left on device"),
                  std::string::npos)
            << full.err;
    }
}

TEST_F(CliTest, AGenerationKilledHalfWayLeavesOnlyTheUsersFile) {
    std::string story;
    for (int i = 0; i < 400; ++i) {
        story += "This sentence is one of many that fill a long story. ";
    }
    write("story.txt", story);
    write("story.wav", "the user's earlier file");
    const auto killed =
        runCli({"--null", "--file", "story.txt", "--generate", "story.wav", "--events"}, m_dir, {},
               onceSpeechStarts(m_dir), {}, RunLimits{{}, {}, SIGKILL});
    EXPECT_EQ(killed.exitStatus, -1);
    EXPECT_EQ(leftovers(m_dir, {"story.txt", "story.wav"}), std::vector<std::string>{});
    std::ifstream kept(file("story.wav"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the user's earlier file");
}

}  // namespace
