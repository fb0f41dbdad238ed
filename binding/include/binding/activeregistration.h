#pragma once

namespace binding {

// The engine's C callbacks carry no context pointer, so the object they reach is registered
// process-wide: one object of a type at a time, the latest registration wins, and an object
// that goes unregisters itself if it is still the registered one. Used on the host thread only.
template <typename Receiver>
class ActiveRegistration {
  public:
    explicit ActiveRegistration(Receiver* receiver) : m_receiver(receiver) { s_current = receiver; }
    ~ActiveRegistration() {
        if (s_current == m_receiver) {
            s_current = nullptr;
        }
    }
    ActiveRegistration(const ActiveRegistration&) = delete;
    ActiveRegistration& operator=(const ActiveRegistration&) = delete;

    // The registered object, or null.
    static Receiver* current() { return s_current; }

  private:
    static inline Receiver* s_current = nullptr;
    Receiver* m_receiver;
};

}  // namespace binding
