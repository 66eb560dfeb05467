#pragma once

namespace ql::hid {

// An eventfd a thread polls beside its other descriptors, so that another
// thread can wake it without a timeout.
class EventFd {
public:
    EventFd();
    ~EventFd();
    EventFd(const EventFd&) = delete;
    EventFd& operator=(const EventFd&) = delete;

    bool valid() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    void signal();
    // Takes back every signal so far; the descriptor polls quiet again.
    void clear();

private:
    int fd_;
};

}  // namespace ql::hid
