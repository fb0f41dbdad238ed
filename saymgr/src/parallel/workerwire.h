#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pipeline/speechrequest.h"
#include "text/bytetable.h"

namespace saymgr::parallel {

// What the engine and its worker processes say to each other over their pipes, as frames: a
// type, a length and that many bytes. The engine sends a Setup, then Jobs; a worker answers
// each Job with its Chunks and a JobEnd. Both ends are the same build on the same machine, so
// values travel in the machine's own byte order; lengths are still checked, and a frame
// longer than kMaxFrameBytes ends the conversation.
enum class FrameType : uint32_t { Setup = 1, Job = 2, Chunk = 3, JobEnd = 4 };

inline constexpr std::size_t kMaxFrameBytes = std::size_t{64} * 1024 * 1024;
inline constexpr std::size_t kFrameHeaderBytes = 8;

// What a frame's header says: its type and the length of the payload after it.
struct FrameHeader {
    FrameType type = FrameType::Setup;
    std::size_t length = 0;
};

// One stretch of the text for a worker: the pieces that begin in [from, to).
struct Job {
    int32_t id = 0;
    int32_t from = 0;
    int32_t to = 0;
};

// What a worker needs of a request: its text, voice, rules and dictionaries. The byte table
// is the worker's own, made for the request's code page.
struct WorkerSetup {
    pipeline::SpeechRequest request;
    std::unique_ptr<text::ByteTable> table;
};

std::string setupFrame(const pipeline::SpeechRequest& request);
std::string jobFrame(const Job& job);
std::string chunkFrame(int32_t jobId, const pipeline::Chunk& chunk);
std::string jobEndFrame(int32_t jobId, int32_t status);

// Each false when the payload is not a well-formed message of its kind.
bool parseSetup(std::string_view payload, WorkerSetup& setup);
bool parseJob(std::string_view payload, Job& job);
bool parseChunk(std::string_view payload, int32_t& jobId, pipeline::Chunk& chunk);
bool parseJobEnd(std::string_view payload, int32_t& jobId, int32_t& status);

// Reads the header at the start of `bytes` (at least kFrameHeaderBytes of them); false when the
// frame is longer than kMaxFrameBytes.
bool readHeader(std::string_view bytes, FrameHeader& header);

// Writes all of `bytes`, going on after interruptions; false when the pipe is gone.
bool writeAll(int fd, std::string_view bytes);
// Reads one whole frame; false at the end of the pipe, on an error or on a frame too long.
bool readFrame(int fd, FrameType& type, std::string& payload);

}  // namespace saymgr::parallel
