#include "interruptwatcher.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

namespace cli {
namespace {

constexpr int kInterruptedExitStatus = 130;

sigset_t interruptSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

InterruptWatcher::InterruptWatcher(std::function<void()> onInterrupt)
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
        if (m_interrupted.exchange(true)) {
            _exit(kInterruptedExitStatus);
        }
        m_onInterrupt();
    }
}

}  // namespace cli
