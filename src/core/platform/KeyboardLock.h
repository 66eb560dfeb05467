#pragma once

#include "core/base/Environment.h"
#include "core/platform/Clock.h"

#include <memory>
#include <optional>
#include <string>

namespace trevolin::platform {

// Keeps two of the user's Trevolin processes (two trevolinctl runs, or one
// and the desktop program) from talking to the keyboard at the same time:
// interleaved, one process's load-change-write would undo the other's, and
// their reports would mix in one transfer. The lock is an flock on a file in
// the user's runtime folder; the holder writes its process id and name into
// it so that a waiting process can say who holds it. The kernel drops the
// lock when its holder ends, however it ends.
class KeyboardLock {
public:
    enum class Result { Acquired, Busy, Unavailable };

    struct Outcome {
        Result result = Result::Unavailable;
        std::unique_ptr<KeyboardLock> lock;  // set when acquired
        std::string holder;                  // Busy: "trevolinctl (process 1234)", when known
        std::string detail;                  // Unavailable: why
    };

    // $XDG_RUNTIME_DIR/trevolin/keyboard.lock, or a private folder in /tmp
    // named after the user id when the desktop gives no runtime folder.
    static std::optional<std::string> DefaultPath(const base::Environment& env);

    // Takes the lock at `path`, waiting at most `waitMs` for another holder
    // to let go. The folder is created 0700 when missing and must belong to
    // this user. `program` names this process to a later waiter.
    static Outcome Acquire(const std::string& path, const std::string& program, uint32_t waitMs,
                           platform::Clock& clock);

    ~KeyboardLock();
    KeyboardLock(const KeyboardLock&) = delete;
    KeyboardLock& operator=(const KeyboardLock&) = delete;

    // How often a holder changed the keyboard, counted in keyboard.changes
    // beside the lock. A program that keeps a copy of the keyboard's tables
    // between its sequences (the desktop program) compares the count it saw
    // when it read them with the count when it takes the lock again: another
    // value means another program changed the keyboard in between. 0 when
    // nothing was counted yet or the file cannot be read.
    uint64_t ChangeCount() const;
    // The holder changed the keyboard; called before letting go.
    void CountChange();

private:
    KeyboardLock(int fd, std::string countPath) : fd_(fd), countPath_(std::move(countPath)) {}
    int fd_ = -1;
    std::string countPath_;
};

}  // namespace trevolin::platform
