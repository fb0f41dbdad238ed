#include "audio/resampler.h"

#include <cmath>

namespace saymgr::audio {

Resampler::Resampler(double inputRate, double outputRate)
    : m_inputRate(inputRate), m_outputRate(outputRate) {
    // Speech made with 16-bit samples needs no dither on its way back to 16 bits.
    soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    io.flags |= SOXR_NO_DITHER;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_LQ, 0);
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    soxr_error_t error = nullptr;
    m_soxr = soxr_create(inputRate, outputRate, 1, &error, &io, &quality, &runtime);
    if (error != nullptr) {
        m_soxr = nullptr;
    }
}

Resampler::~Resampler() {
    if (m_soxr != nullptr) {
        soxr_delete(m_soxr);
    }
}

void Resampler::process(const int16_t* input, std::size_t count, std::vector<int16_t>& output) {
    if (count > 0) {
        run(input, count, output);
    }
}

void Resampler::flush(std::vector<int16_t>& output) {
    run(nullptr, 0, output);
}

void Resampler::run(const int16_t* input, std::size_t count, std::vector<int16_t>& output) {
    if (m_soxr == nullptr) {
        return;
    }
    const auto room =
        static_cast<std::size_t>(std::ceil(static_cast<double>(count) * ratio())) + 64;
    std::size_t consumed = 0;
    do {
        const std::size_t before = output.size();
        output.resize(before + room);
        std::size_t used = 0;
        std::size_t produced = 0;
        const soxr_error_t error =
            soxr_process(m_soxr, input == nullptr ? nullptr : input + consumed, count - consumed,
                         &used, output.data() + before, room, &produced);
        output.resize(before + produced);
        consumed += used;
        const bool stalled = error != nullptr || (used == 0 && produced == 0);
        if (stalled || (produced < room && (input == nullptr || consumed >= count))) {
            break;
        }
    } while (true);
}

}  // namespace saymgr::audio
