#include "parallel/workerwire.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <type_traits>

#include "dictionary/userdictionary.h"

namespace saymgr::parallel {
namespace {

// Appends values to a frame's payload.
class Writer {
  public:
    template <typename T>
    Writer& add(T value) {
        static_assert(std::is_trivially_copyable_v<T>);
        m_bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
        return *this;
    }

    Writer& addText(std::string_view text) {
        add(static_cast<uint64_t>(text.size()));
        m_bytes.append(text);
        return *this;
    }

    std::string frame(FrameType type) const {
        std::string frame;
        frame.reserve(8 + m_bytes.size());
        const auto header = std::array<uint32_t, 2>{static_cast<uint32_t>(type),
                                                    static_cast<uint32_t>(m_bytes.size())};
        frame.append(reinterpret_cast<const char*>(header.data()), sizeof header);
        frame += m_bytes;
        return frame;
    }

  private:
    std::string m_bytes;
};

// Takes values from a payload in order; once one is missing, every later one is too.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

    template <typename T>
    bool take(T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        if (m_bytes.size() < sizeof value) {
            return fail();
        }
        std::memcpy(&value, m_bytes.data(), sizeof value);
        m_bytes.remove_prefix(sizeof value);
        return true;
    }

    bool takeText(std::string& text) {
        uint64_t size = 0;
        if (!take(size) || size > m_bytes.size()) {
            return fail();
        }
        text.assign(m_bytes.substr(0, size));
        m_bytes.remove_prefix(size);
        return true;
    }

    // Whether every value was there and nothing is left over.
    bool complete() const { return m_ok && m_bytes.empty(); }

  private:
    bool fail() {
        m_ok = false;
        m_bytes = {};
        return false;
    }

    std::string_view m_bytes;
    bool m_ok = true;
};

bool readExactly(int fd, char* into, std::size_t count) {
    while (count > 0) {
        const ssize_t got = ::read(fd, into, count);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        into += got;
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace

std::string setupFrame(const pipeline::SpeechRequest& request) {
    Writer writer;
    writer.add<int32_t>(request.ansi ? 1 : 0).add(request.outputRate);
    writer.addText(request.languageVoice);
    const synthesis::VoiceSettings& voice = request.voice;
    writer.add(voice.volume).add(voice.speaker).add(voice.rate).add(voice.pitch);
    writer.add(request.rules.firstLength).add(request.rules.secondLength);
    writer.add(static_cast<int32_t>(request.dictionaries.size()));
    for (const auto& dictionary : request.dictionaries) {
        writer.addText(dictionary->toBytes());
    }
    writer.addText(request.source);
    return writer.frame(FrameType::Setup);
}

bool parseSetup(std::string_view payload, WorkerSetup& setup) {
    Reader reader(payload);
    pipeline::SpeechRequest& request = setup.request;
    int32_t ansi = 0;
    int32_t dictionaries = 0;
    synthesis::VoiceSettings& voice = request.voice;
    if (!reader.take(ansi) || !reader.take(request.outputRate) ||
        !reader.takeText(request.languageVoice) || !reader.take(voice.volume) ||
        !reader.take(voice.speaker) || !reader.take(voice.rate) || !reader.take(voice.pitch) ||
        !reader.take(request.rules.firstLength) || !reader.take(request.rules.secondLength) ||
        !reader.take(dictionaries) || dictionaries < 0) {
        return false;
    }
    for (int32_t index = 0; index < dictionaries; ++index) {
        std::string bytes;
        std::unique_ptr<UserDictionary> dictionary;
        if (!reader.takeText(bytes) || UserDictionary::fromBytes(bytes, dictionary) != 0) {
            return false;
        }
        request.dictionaries.push_back(std::move(dictionary));
    }
    if (!reader.takeText(request.source) || !reader.complete()) {
        return false;
    }
    request.ansi = ansi != 0;
    setup.table = std::make_unique<text::ByteTable>(request.ansi);
    request.table = setup.table.get();
    return true;
}

std::string jobFrame(const Job& job) {
    return Writer().add(job.id).add(job.from).add(job.to).frame(FrameType::Job);
}

bool parseJob(std::string_view payload, Job& job) {
    Reader reader(payload);
    return reader.take(job.id) && reader.take(job.from) && reader.take(job.to) && reader.complete();
}

std::string chunkFrame(int32_t jobId, const pipeline::Chunk& chunk) {
    Writer writer;
    writer.add(jobId).addText(std::string_view(reinterpret_cast<const char*>(chunk.samples.data()),
                                               chunk.samples.size() * sizeof(int16_t)));
    writer.add(static_cast<uint64_t>(chunk.events.size()));
    for (const pipeline::Notification& event : chunk.events) {
        writer.add(event.code).add(event.value1).add(event.value2).add(event.sample);
    }
    return writer.frame(FrameType::Chunk);
}

bool parseChunk(std::string_view payload, int32_t& jobId, pipeline::Chunk& chunk) {
    Reader reader(payload);
    std::string samples;
    uint64_t events = 0;
    if (!reader.take(jobId) || !reader.takeText(samples) || samples.size() % 2 != 0 ||
        !reader.take(events) || events > payload.size()) {
        return false;
    }
    chunk.samples.resize(samples.size() / 2);
    std::memcpy(chunk.samples.data(), samples.data(), samples.size());
    chunk.events.resize(static_cast<std::size_t>(events));
    for (pipeline::Notification& event : chunk.events) {
        if (!reader.take(event.code) || !reader.take(event.value1) || !reader.take(event.value2) ||
            !reader.take(event.sample)) {
            return false;
        }
    }
    return reader.complete();
}

std::string jobEndFrame(int32_t jobId, int32_t status) {
    return Writer().add(jobId).add(status).frame(FrameType::JobEnd);
}

bool parseJobEnd(std::string_view payload, int32_t& jobId, int32_t& status) {
    Reader reader(payload);
    return reader.take(jobId) && reader.take(status) && reader.complete();
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool readHeader(std::string_view bytes, FrameHeader& header) {
    std::array<uint32_t, 2> fields{};
    std::copy_n(bytes.data(), sizeof fields, reinterpret_cast<char*>(fields.data()));
    header = {static_cast<FrameType>(fields[0]), fields[1]};
    return header.length <= kMaxFrameBytes;
}

bool readFrame(int fd, FrameType& type, std::string& payload) {
    std::array<char, kFrameHeaderBytes> bytes{};
    FrameHeader header;
    if (!readExactly(fd, bytes.data(), bytes.size()) ||
        !readHeader(std::string_view(bytes.data(), bytes.size()), header)) {
        return false;
    }
    type = header.type;
    payload.resize(header.length);
    return readExactly(fd, payload.data(), payload.size());
}

}  // namespace saymgr::parallel
