#include "suitesupport.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace cli {
namespace {

constexpr int kProgressWidth = 30;

std::atomic<bool> g_stopRequested{false};

void requestStop(int) {
    g_stopRequested = true;
}

}  // namespace

const std::atomic<bool>& stopRequested() {
    return g_stopRequested;
}

StopSignals::StopSignals() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_interrupt);
    sigaction(SIGTERM, &action, &m_terminate);
}

StopSignals::~StopSignals() {
    sigaction(SIGINT, &m_interrupt, nullptr);
    sigaction(SIGTERM, &m_terminate, nullptr);
}

TemporaryFolder::TemporaryFolder(const std::filesystem::path& besides) {
    std::error_code error;
    const std::filesystem::path parent =
        besides.empty() ? std::filesystem::temp_directory_path(error) : besides.parent_path();
    const std::string name =
        besides.empty() ? "voxtrial-suite-" : "." + besides.filename().string() + ".new-";
    std::string pattern = ((parent.empty() ? "." : parent) / (name + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
}

TemporaryFolder::~TemporaryFolder() {
    if (!m_path.empty()) {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
}

ProgressBar::ProgressBar(std::size_t total, bool wanted)
    : m_total(total), m_shown(wanted && isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() {
    if (m_shown) {
        std::fputs("\r\033[K", stderr);
    }
}

void ProgressBar::show(std::size_t done) const {
    if (!m_shown || m_total == 0) {
        return;
    }
    const auto filled = static_cast<int>(done * kProgressWidth / m_total);
    std::fprintf(stderr, "\r[%s%s] %zu/%zu", std::string(filled, '#').c_str(),
                 std::string(kProgressWidth - filled, ' ').c_str(), done, m_total);
    std::fflush(stderr);
}

}  // namespace cli
