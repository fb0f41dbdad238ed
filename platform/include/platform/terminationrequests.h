#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform {

// Turns the requests to end the program that arrive as signals (SIGTERM from a session's
// logout or a service manager, SIGINT, SIGHUP) into a call on the program's own thread, so that
// it can end the way its Exit command does. One instance at a time owns the signals; they get
// their previous handling back when it is destroyed.
class TerminationRequests {
  public:
    explicit TerminationRequests(std::function<void()> onRequest);
    ~TerminationRequests();
    TerminationRequests(const TerminationRequests&) = delete;
    TerminationRequests& operator=(const TerminationRequests&) = delete;

  private:
    std::function<void()> m_onRequest;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace platform
