#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <semaphore.h>

namespace trevolin::platform {

// The 210 named events "Trevolin_Event_Main_01" to "Trevolin_Event_Main_210"
// that the program holds for its whole run, as POSIX named semaphores
// (initial count 0, not signalled). Named semaphores are shared by every
// user and every session of the machine, so each name carries its owner:
// the user id and the session's runtime folder, "/Trevolin_Event_Main_01.
// 1000-5f3a09c2", mode 0600. A name that exists already but belongs to
// another user, or that others may open, is never used: another user who
// made the names first cannot share our events.
//
// Named semaphores outlive the process that made them. Those this object
// created are removed when it is released or destroyed; a crashed run leaves
// its set behind, which the next run that holds the single-instance lock
// removes and creates afresh. A run without that lock cannot know whether
// the set it finds belongs to a running instance, so it uses what it finds
// and leaves it there.
class NamedEvents {
public:
    static constexpr int Count = 210;
    static constexpr std::string_view Prefix = "Trevolin_Event_";

    struct Outcome {
        std::unique_ptr<NamedEvents> events;  // always set when `owner` is valid, even with some missing
        std::string detail;                   // empty when every event is held
    };

    // The current user's id and a digest of `runtimeFolder` (the session's
    // private folder), as text: two sessions of one user never share them.
    static std::string OwnerFor(std::string_view runtimeFolder);
    // "/Trevolin_Event_Main_%02d.<owner>".
    static std::string NameOf(int number, std::string_view owner);

    // `owner` is at most 64 of the characters A-Z, a-z, 0-9, '.', '_' and
    // '-'. A name that cannot be created is named in `detail` and skipped:
    // the program runs without it.
    static Outcome Create(std::string_view owner, bool holdsInstanceLock);

    size_t Held() const { return events_.size(); }
    // Closes every event and removes those this object created.
    void Release();

    ~NamedEvents();
    NamedEvents(const NamedEvents&) = delete;
    NamedEvents& operator=(const NamedEvents&) = delete;

private:
    struct Event {
        std::string name;
        sem_t* handle = nullptr;
        bool created = false;
    };
    NamedEvents() = default;

    std::vector<Event> events_;
};

}  // namespace trevolin::platform
