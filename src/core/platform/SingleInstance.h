#pragma once

#include "core/platform/Clock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace trevolin::platform {

// One desktop program per user. The first process takes an flock on
// "VSDRAVIK.lock" in the user's private runtime folder and listens on the
// Unix socket "VSDRAVIK.socket" beside it; a later start finds the lock
// held, connects, hands over OPEN (show the window) or KILL (exit) and ends
// once the first has acknowledged: OPEN once the window was asked to show
// itself, KILL only after the exit path has let the lock go, so that a start
// right after "/Kill" becomes the first instance itself. An instance that is
// ending refuses OPEN by closing the connection unanswered; the other start
// then waits for the lock instead. The kernel drops the lock with its
// holder, however it ends, so a socket left by a crashed run is simply
// replaced by the next holder; nobody else ever removes it. Both ends check
// who is on the other side: a process of another user never counts as a
// running instance and is never obeyed.
//
// Nothing here starts a thread. The first instance hands ListenFd() to its
// event loop (a QSocketNotifier in the desktop program) and calls
// HandlePending() on that thread when it becomes readable, so the handler
// runs where the window lives.
class SingleInstance {
public:
    // KeyboardChanged: another program of the user (trevolinctl) has
    // changed the keyboard, and a running window should read it again.
    enum class Message { Open, Kill, KeyboardChanged };

    enum class Result {
        Primary,                   // this process is the first; keep the object for the whole run
        SignalledRunningInstance,  // the running instance acknowledged the message: end with exit code 0
        NoAnswer,                  // an instance holds the lock but did not acknowledge in time
        ForeignPeer,               // the socket's other end belongs to another user
        Unavailable,               // no private folder, lock or socket; `detail` says why
    };

    // The user id of the process at the other end of a connected socket.
    using PeerUidReader = std::function<std::optional<uid_t>(int socket)>;

    struct Options {
        // A later start: how long it tries to reach the running instance and
        // waits for its acknowledgement, all told.
        uint32_t answerWaitMs = 5000;
        // The first instance: how long a connection may take to say what it
        // wants. Only processes of the user get this far.
        uint32_t requestWaitMs = 1000;
        // Empty: SO_PEERCRED.
        PeerUidReader peerUid;
    };

    struct Outcome {
        Result result = Result::Unavailable;
        std::unique_ptr<SingleInstance> instance;  // Primary only
        std::string detail;
    };

    static constexpr std::string_view Name = "VSDRAVIK";

    // A request on the socket is four bytes: the message's code.
    static constexpr size_t CodeSize = 4;
    static std::string_view CodeOf(Message message);
    // The message a received request names; nothing for any other bytes,
    // which the first instance closes unanswered.
    static std::optional<Message> DecodeMessage(std::string_view request);

    // Becomes the first instance, or hands `forRunningInstance` to the one
    // that is. `folder` is made private first (base::MakePrivateFolder).
    // `clock` paces the retries while the running instance is still coming
    // up; it must outlive the returned instance.
    static Outcome Claim(const std::string& folder, Message forRunningInstance, const Options& options, Clock& clock);

    static std::optional<uid_t> ReadPeerUid(int socket);

    // Tells a running instance of this user `message` without ever
    // becoming one: nothing happens when none runs. True once it has
    // acknowledged, within `waitMs`.
    static bool Tell(const std::string& folder, Message message, uint32_t waitMs, Clock& clock,
                     const PeerUidReader& peerUid = {});

    // Readable when later starts are waiting; -1 after Release().
    int ListenFd() const { return listenFd_; }

    // What the handler decides about a message.
    enum class Verdict {
        Taken,    // acknowledged now (KILL: once Release() has run)
        Refused,  // closed unanswered: this instance is ending
    };
    using Handler = std::function<Verdict(Message)>;

    // Takes every waiting start and every request that has arrived, never
    // waiting for one that has not, gives each message (OPEN, KILL, SYNC)
    // from a process of this user to `handler` and answers as it decides.
    // Connections of other users, and those that send nothing sensible
    // within requestWaitMs, are closed unanswered. `handler` may call
    // Release() (the exit path does); it must not destroy this object.
    // Returns the number of messages given to `handler`.
    size_t HandlePending(const Handler& handler);
    // Connections whose request has not arrived yet: call HandlePending
    // again within about `RecheckMs` while this is true.
    bool AwaitingRequests() const { return !unread_.empty(); }
    static constexpr uint32_t RecheckMs = 50;

    // Stops listening, removes the socket and lets the lock go, in that
    // order, so that the next first instance never loses its socket to us;
    // then answers the KILL requests that waited for it.
    void Release();

    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

private:
    SingleInstance(int lockFd, int listenFd, std::string socketPath, const Options& options, Clock& clock);

    struct Unread {
        int fd = -1;
        uint64_t sinceMs = 0;
        std::string got;
    };
    void CloseUnread();

    int lockFd_ = -1;
    int listenFd_ = -1;
    std::vector<Unread> unread_;
    std::vector<int> killsToAnswer_;
    std::string socketPath_;
    Options options_;
    Clock* clock_;
};

}  // namespace trevolin::platform
