#include <sndfile.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/replacementfile.h"
#include "soundfile.h"
#include "suite/reference.h"

namespace suite {
namespace {

using nlohmann::json;

constexpr int kManifestFormat = 1;
constexpr std::size_t kMaxStemIdLength = 40;

// A case's files go into a folder that takes the place of the reference in one step once all
// are written; the manifest itself replaces its old version in one step.
std::string writeJson(const std::filesystem::path& path, const json& document, bool inOneStep) {
    const std::string bytes = document.dump(1) + '\n';
    if (inOneStep) {
        return common::ReplacementFile::replace(path, bytes) == common::ReplacementFile::Status::Ok
                   ? ""
                   : "cannot write " + path.string();
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return out ? "" : "cannot write " + path.string();
}

std::optional<json> readJson(const std::filesystem::path& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path.string();
        return std::nullopt;
    }
    json document = json::parse(in, nullptr, false);
    if (document.is_discarded()) {
        error = path.string() + " is damaged";
        return std::nullopt;
    }
    return document;
}

std::string writeFlac(const std::filesystem::path& path, const Rendering& rendering) {
    SF_INFO info{};
    info.samplerate = rendering.sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        return "cannot write " + path.string() + ": " + sf_strerror(nullptr);
    }
    const auto count = static_cast<sf_count_t>(rendering.samples.size());
    const bool written = sf_writef_short(file, rendering.samples.data(), count) == count;
    return sf_close(file) == 0 && written ? "" : "cannot write " + path.string();
}

json settingsJson(const CaseSettings& settings) {
    json dictionaries = json::array();
    for (const std::filesystem::path& path : settings.dictionaries) {
        dictionaries.push_back(path.string());
    }
    json result{{"language", settings.language}, {"speaker", settings.speaker},
                {"volume", settings.volume},     {"pitch", settings.pitch},
                {"rate", settings.rate},         {"frequency", settings.frequency},
                {"dictionaries", dictionaries}};
    if (settings.systemMode) {
        result["system_mode"] = *settings.systemMode;
    }
    return result;
}

}  // namespace

bool readSound(const std::filesystem::path& path, Rendering& rendering) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return false;
    }
    rendering.sampleRate = info.samplerate;
    rendering.samples.resize(static_cast<std::size_t>(info.frames));
    const bool read = info.channels == 1 &&
                      sf_readf_short(file, rendering.samples.data(), info.frames) == info.frames;
    sf_close(file);
    return read;
}

std::string caseFileStem(std::size_t position, const std::string& id) {
    std::string safe;
    for (const char c : id.substr(0, kMaxStemIdLength)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        safe += plain ? c : '_';
    }
    char number[16];
    std::snprintf(number, sizeof number, "%05zu-", position + 1);
    return number + safe;
}

Manifest manifestOf(const Suite& suite, const EngineIdentity& engine) {
    Manifest manifest{suite.name, engine, {}};
    for (std::size_t i = 0; i < suite.cases.size(); ++i) {
        const SuiteCase& suiteCase = suite.cases[i];
        manifest.cases.push_back(
            {suiteCase.id, caseFingerprint(suiteCase), caseFileStem(i, suiteCase.id)});
    }
    return manifest;
}

std::string writeCaseFiles(const std::filesystem::path& folder, const std::string& stem,
                           const SuiteCase& suiteCase, const Rendering& rendering) {
    if (std::string error = writeFlac(folder / (stem + ".flac"), rendering); !error.empty()) {
        return error;
    }
    json words = json::array();
    for (const WordRecord& word : rendering.words) {
        words.push_back({{"start", word.start},
                         {"length", word.length},
                         {"text", word.text},
                         {"sample", word.sample},
                         {"ipa", word.ipa}});
    }
    const json document{{"id", suiteCase.id},
                        {"sample_rate", rendering.sampleRate},
                        {"samples", rendering.samples.size()},
                        {"duration_ms", rendering.durationMs()},
                        {"settings", settingsJson(suiteCase.settings)},
                        {"words", words}};
    return writeJson(folder / (stem + ".json"), document, false);
}

std::optional<Rendering> readCaseFiles(const std::filesystem::path& folder, const std::string& stem,
                                       std::string& error) {
    const std::optional<json> document = readJson(folder / (stem + ".json"), error);
    if (!document) {
        return std::nullopt;
    }
    Rendering rendering;
    if (!readSound(folder / (stem + ".flac"), rendering)) {
        error = "cannot read " + (folder / (stem + ".flac")).string();
        return std::nullopt;
    }
    try {
        for (const json& word : document->at("words")) {
            rendering.words.push_back(
                {word.at("start").get<int32_t>(), word.at("length").get<int32_t>(),
                 word.at("text").get<std::string>(), word.at("sample").get<int64_t>(),
                 word.at("ipa").get<std::string>()});
        }
    } catch (const json::exception&) {
        error = (folder / (stem + ".json")).string() + " is damaged";
        return std::nullopt;
    }
    return rendering;
}

std::string writeManifest(const std::filesystem::path& folder, const Manifest& manifest) {
    json cases = json::array();
    for (const Manifest::Entry& entry : manifest.cases) {
        cases.push_back(
            {{"id", entry.id}, {"fingerprint", entry.fingerprint}, {"file", entry.file}});
    }
    const json document{
        {"format", kManifestFormat},
        {"suite", manifest.suiteName},
        {"engine",
         {{"manufacturer", manifest.engine.manufacturer}, {"version", manifest.engine.version}}},
        {"cases", cases}};
    return writeJson(folder / "manifest.json", document, true);
}

std::optional<Manifest> readManifest(const std::filesystem::path& folder, std::string& error) {
    const std::optional<json> document = readJson(folder / "manifest.json", error);
    if (!document) {
        error = folder.string() + " holds no reference (" + error + ")";
        return std::nullopt;
    }
    try {
        if (document->at("format").get<int>() != kManifestFormat) {
            error = folder.string() + ": a reference of another format";
            return std::nullopt;
        }
        Manifest manifest;
        manifest.suiteName = document->at("suite").get<std::string>();
        manifest.engine = {document->at("engine").at("manufacturer").get<std::string>(),
                           document->at("engine").at("version").get<std::string>()};
        for (const json& entry : document->at("cases")) {
            manifest.cases.push_back({entry.at("id").get<std::string>(),
                                      entry.at("fingerprint").get<std::string>(),
                                      entry.at("file").get<std::string>()});
        }
        return manifest;
    } catch (const json::exception&) {
        error = (folder / "manifest.json").string() + " is damaged";
        return std::nullopt;
    }
}

}  // namespace suite
