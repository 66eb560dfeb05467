#pragma once

#include <atomic>
#include <cstdint>

namespace trevolin::profiles {

// Whether another program changed the keyboard since the store last matched
// it. Programs that change the keyboard count it under the user's keyboard
// lock (platform::KeyboardLock); a program that keeps the store between its
// sequences notes the count each time it takes the lock. The store matches
// the keyboard when it was read from it or written to it; a count that moved
// since then means the store's copy of the other program's change is stale,
// and writing it would silently undo that change. A program that holds the
// lock for its whole run (the command line) reads the keyboard first and
// never notes a count: the count stays 0 and nothing is stale.
class OutsideChanges {
public:
    // The count when the running sequence took the lock.
    void AtLock(uint64_t count) { atLock_.store(count); }
    // The store was read from the keyboard or written to it, or the user was
    // told that it is stale.
    void StoreIsCurrent() { inStore_.store(atLock_.load()); }
    bool StoreIsStale() const { return atLock_.load() != inStore_.load(); }

private:
    std::atomic<uint64_t> atLock_{0};
    std::atomic<uint64_t> inStore_{0};
};

}  // namespace trevolin::profiles
