#include "interruptwatcher.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

namespace cli {
namespace {

sigset_t interruptSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

InterruptWatcher::InterruptWatcher(std::function<bool()> onInterrupt)
    : m_onInterrupt(std::move(onInterrupt)) {
    const sigset_t signals = interruptSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    m_thread = std::thread([this] { watch(); });
}

InterruptWatcher::~InterruptWatcher() {
    m_finished = true;
    m_thread.join();
}

void InterruptWatcher::watch() {
    const sigset_t signals = interruptSignals();
    const timespec poll{0, 100'000'000};
    while (!m_finished) {
        if (sigtimedwait(&signals, nullptr, &poll) < 0) {
            continue;
        }
        if (m_interrupted.exchange(true) || !m_onInterrupt()) {
            [[maybe_unused]] const auto written =
                write(STDERR_FILENO, kStoppedMessage, sizeof kStoppedMessage - 1);
            _exit(kInterruptedExitStatus);
        }
    }
}

}  // namespace cli
