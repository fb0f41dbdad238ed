#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "pipeline/speechrequest.h"
#include "synthesis/espeak.h"

namespace saymgr::pipeline {

// Turns the pieces of a request's text that begin in [from, to) into chunks: samples at the
// synthesis rate with the piece, word and bookmark notifications among them, positions
// counted in samples from the first of those pieces. The same text gives the same chunks
// whether the engine speaks it whole or a worker process synthesizes a stretch of it.
class PieceSynthesizer {
  public:
    // Takes a chunk; false stops the synthesis.
    using Send = std::function<bool(Chunk&&)>;

    // `espeak` is configured for the request's voice; synthesis stops soon after `stopped`.
    PieceSynthesizer(synthesis::Espeak& espeak, const SpeechRequest& request,
                     const std::atomic<bool>& stopped, Send send);

    // True when every piece was synthesized and sent.
    bool run(int32_t from, int32_t to);

    // Samples (at the synthesis rate) gathered before a chunk is sent: about 0.7 s of sound,
    // so that chunks are handed over, and the sink writes, seldom. The first chunk leaves at
    // once so that speech starts without delay.
    static constexpr std::size_t kBatchSamples = 16384;

  private:
    synthesis::Espeak& m_espeak;
    const SpeechRequest& m_request;
    const std::atomic<bool>& m_stopped;
    Send m_send;
};

}  // namespace saymgr::pipeline
