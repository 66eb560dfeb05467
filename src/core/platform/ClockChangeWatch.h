#pragma once

#include <memory>

namespace trevolin::platform {

// Tells when the system's clock is set (by the user, or a time service
// jumping it): a file descriptor that becomes readable then. The window
// applies pending changes when that happens, as it does when the system
// says the time changed.
class ClockChangeWatch {
public:
    // Nothing where the system cannot tell.
    static std::unique_ptr<ClockChangeWatch> Create();
    ~ClockChangeWatch();
    ClockChangeWatch(const ClockChangeWatch&) = delete;
    ClockChangeWatch& operator=(const ClockChangeWatch&) = delete;

    int Fd() const { return fd_; }
    // When Fd() is readable: true when the clock was set. Watches on.
    bool Consume();

private:
    explicit ClockChangeWatch(int fd) : fd_(fd) {}
    bool Arm();

    int fd_;
};

}  // namespace trevolin::platform
