#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "suite/rendering.h"
#include "suite/suite.h"

namespace suite {

// A reference's table of contents: which suite it was recorded from, by which engine, and for
// each case its id, the fingerprint of its text and the name of its files.
struct Manifest {
    struct Entry {
        std::string id;
        std::string fingerprint;
        std::string file;  // the stem of the case's .flac and .json in the reference folder

        bool operator==(const Entry&) const = default;
    };

    std::string suiteName;
    EngineIdentity engine;
    std::vector<Entry> cases;

    bool operator==(const Manifest&) const = default;
};

// The stem a case's files have, unique within its suite: its position and its id made safe for
// a file name.
std::string caseFileStem(std::size_t position, const std::string& id);

Manifest manifestOf(const Suite& suite, const EngineIdentity& engine);

// Writes a case's audio (FLAC) and its words and settings (JSON) into `folder` as `stem`.flac
// and `stem`.json. Returns an error, empty on success.
std::string writeCaseFiles(const std::filesystem::path& folder, const std::string& stem,
                           const SuiteCase& suiteCase, const Rendering& rendering);
// Reads them back; nullopt with `error` set when they are missing or damaged.
std::optional<Rendering> readCaseFiles(const std::filesystem::path& folder, const std::string& stem,
                                       std::string& error);

std::string writeManifest(const std::filesystem::path& folder, const Manifest& manifest);
std::optional<Manifest> readManifest(const std::filesystem::path& folder, std::string& error);

}  // namespace suite
