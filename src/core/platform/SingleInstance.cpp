#include "core/platform/SingleInstance.h"

#include "core/base/PrivateFolder.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace trevolin::platform {

namespace {

constexpr char OpenCode[] = "OPEN";
constexpr char KillCode[] = "KILL";
constexpr char DoneCode[] = "DONE";
constexpr char SyncCode[] = "SYNC";

// How often a later start looks again for a running instance that holds the
// lock but does not listen yet (it is between the two steps of starting).
constexpr uint32_t RetryMs = 20;
constexpr int Backlog = 8;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    int Take() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

std::string ErrorText(const std::string& what, int error)
{
    return what + ": " + std::strerror(error);
}

bool AddressOf(const std::string& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    // sun_path needs room for the terminating zero.
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Reads exactly `size` bytes within `waitMs` all told; false on a timeout,
// the end of the stream or an error.
// False on time-out, or when the other end closes (`closed` then true).
bool ReadExactly(int fd, char* buffer, size_t size, uint32_t waitMs, Clock& clock, bool& closed)
{
    closed = false;
    const uint64_t start = clock.NowMs();
    size_t got = 0;
    while (got < size) {
        const uint64_t spent = clock.NowMs() - start;
        if (spent >= waitMs)
            return false;
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(waitMs - spent));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = ::recv(fd, buffer + got, size - got, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0) {
            // A listener that goes away resets the connections it has not
            // accepted yet.
            closed = n == 0 || errno == ECONNRESET;
            return false;
        }
        got += static_cast<size_t>(n);
    }
    return true;
}

bool SendAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool IsOurs(const SingleInstance::PeerUidReader& peerUid, int socket)
{
    const auto uid = peerUid ? peerUid(socket) : SingleInstance::ReadPeerUid(socket);
    return uid && *uid == ::getuid();
}

}  // namespace

std::string_view SingleInstance::CodeOf(Message message)
{
    switch (message) {
    case Message::Kill:
        return {KillCode, CodeSize};
    case Message::KeyboardChanged:
        return {SyncCode, CodeSize};
    case Message::Open:
        break;
    }
    return {OpenCode, CodeSize};
}

std::optional<SingleInstance::Message> SingleInstance::DecodeMessage(std::string_view request)
{
    for (const Message message : {Message::Open, Message::Kill, Message::KeyboardChanged}) {
        if (request == CodeOf(message))
            return message;
    }
    return std::nullopt;
}

std::optional<uid_t> SingleInstance::ReadPeerUid(int socket)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 || size != sizeof credentials)
        return std::nullopt;
    return credentials.uid;
}

SingleInstance::Outcome SingleInstance::Claim(const std::string& folder, Message forRunningInstance,
                                              const Options& options, Clock& clock)
{
    Outcome outcome;
    if (!base::MakePrivateFolder(folder, outcome.detail))
        return outcome;
    const std::string base = folder + "/" + std::string(Name);
    const std::string lockPath = base + ".lock";
    const std::string socketPath = base + ".socket";
    sockaddr_un address{};
    if (!AddressOf(socketPath, address)) {
        outcome.detail = "the path " + socketPath + " is too long for a socket";
        return outcome;
    }

    Descriptor lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (lock.Get() < 0) {
        outcome.detail = ErrorText("cannot open " + lockPath, errno);
        return outcome;
    }

    const uint64_t start = clock.NowMs();
    for (;;) {
        if (::flock(lock.Get(), LOCK_EX | LOCK_NB) == 0) {
            // The lock makes us the only one who may touch the socket's name:
            // whatever is there was left by a run that has ended.
            if (::unlink(socketPath.c_str()) != 0 && errno != ENOENT) {
                outcome.detail = ErrorText("cannot remove the old " + socketPath, errno);
                return outcome;
            }
            Descriptor listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
            if (listener.Get() < 0 ||
                ::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
                ::listen(listener.Get(), Backlog) != 0) {
                const int error = errno;
                ::unlink(socketPath.c_str());
                outcome.detail = ErrorText("cannot listen on " + socketPath, error);
                return outcome;
            }
            outcome.result = Result::Primary;
            outcome.instance.reset(new SingleInstance(lock.Take(), listener.Take(), socketPath, options, clock));
            return outcome;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            outcome.detail = ErrorText("cannot lock " + lockPath, errno);
            return outcome;
        }

        Descriptor connection(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (connection.Get() < 0) {
            outcome.detail = ErrorText("cannot create a socket", errno);
            return outcome;
        }
        if (::connect(connection.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            if (!IsOurs(options.peerUid, connection.Get())) {
                outcome.result = Result::ForeignPeer;
                outcome.detail = socketPath + " is held by a process of another user";
                return outcome;
            }
            const std::string_view code = CodeOf(forRunningInstance);
            char answer[CodeSize] = {};
            const uint64_t spent = clock.NowMs() - start;
            const uint32_t left =
                spent < options.answerWaitMs ? options.answerWaitMs - static_cast<uint32_t>(spent) : 0;
            bool closed = false;
            if (SendAll(connection.Get(), code.data(), code.size()) &&
                ReadExactly(connection.Get(), answer, CodeSize, left, clock, closed) &&
                std::memcmp(answer, DoneCode, CodeSize) == 0) {
                outcome.result = Result::SignalledRunningInstance;
                return outcome;
            }
            // Closed unanswered: the running instance is ending and will
            // let the lock go; this start then becomes the first.
            if (!closed || clock.NowMs() - start >= options.answerWaitMs) {
                outcome.result = Result::NoAnswer;
                outcome.detail =
                    "the running instance did not acknowledge within " + std::to_string(options.answerWaitMs) + " ms";
                return outcome;
            }
            clock.SleepMs(RetryMs);
            continue;
        }
        const int error = errno;
        // Not listening yet (ENOENT, ECONNREFUSED) or busy (EAGAIN): the
        // holder is starting, or is just ending, which frees the lock for us.
        if (error != ENOENT && error != ECONNREFUSED && error != EAGAIN && error != EINTR) {
            outcome.detail = ErrorText("cannot reach the running instance at " + socketPath, error);
            return outcome;
        }
        if (clock.NowMs() - start >= options.answerWaitMs) {
            outcome.result = Result::NoAnswer;
            outcome.detail = "an instance holds " + lockPath + " but does not listen on " + socketPath;
            return outcome;
        }
        clock.SleepMs(RetryMs);
    }
}

bool SingleInstance::Tell(const std::string& folder, Message message, uint32_t waitMs, Clock& clock,
                          const PeerUidReader& peerUid)
{
    sockaddr_un address{};
    if (!AddressOf(folder + "/" + std::string(Name) + ".socket", address))
        return false;
    Descriptor connection(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (connection.Get() < 0 ||
        ::connect(connection.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        !IsOurs(peerUid, connection.Get()))
        return false;
    char answer[CodeSize] = {};
    bool closed = false;
    return SendAll(connection.Get(), CodeOf(message).data(), CodeSize) &&
           ReadExactly(connection.Get(), answer, CodeSize, waitMs, clock, closed) &&
           std::memcmp(answer, DoneCode, CodeSize) == 0;
}

SingleInstance::SingleInstance(int lockFd, int listenFd, std::string socketPath, const Options& options, Clock& clock)
    : lockFd_(lockFd),
      listenFd_(listenFd),
      socketPath_(std::move(socketPath)),
      options_(options),
      clock_(&clock)
{
}

SingleInstance::~SingleInstance()
{
    Release();
}

size_t SingleInstance::HandlePending(const Handler& handler)
{
    while (listenFd_ >= 0) {
        Descriptor connection(::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (connection.Get() < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            break;
        }
        if (!IsOurs(options_.peerUid, connection.Get()))
            continue;
        unread_.push_back({connection.Take(), clock_->NowMs(), {}});
    }

    size_t handled = 0;
    // The handler may release this instance, which closes what is left.
    for (size_t i = 0; i < unread_.size();) {
        Unread& u = unread_[i];
        char buffer[CodeSize];
        bool closedByPeer = false;
        while (u.got.size() < CodeSize) {
            const ssize_t n = ::recv(u.fd, buffer, CodeSize - u.got.size(), MSG_DONTWAIT);
            if (n < 0 && errno == EINTR)
                continue;
            if (n == 0)
                closedByPeer = true;
            if (n <= 0)
                break;
            u.got.append(buffer, static_cast<size_t>(n));
        }
        if (u.got.size() < CodeSize) {
            if (closedByPeer || clock_->NowMs() - u.sinceMs >= options_.requestWaitMs) {
                ::close(u.fd);
                unread_.erase(unread_.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                ++i;
            }
            continue;
        }
        Descriptor connection(u.fd);
        const std::string request = std::move(u.got);
        unread_.erase(unread_.begin() + static_cast<std::ptrdiff_t>(i));
        const std::optional<Message> message = DecodeMessage(request);
        if (!message)
            continue;
        const Verdict verdict = handler(*message);
        ++handled;
        if (verdict == Verdict::Refused)
            continue;
        if (*message == Message::Kill && lockFd_ >= 0) {
            killsToAnswer_.push_back(connection.Take());
            continue;
        }
        // The sender may have given up meanwhile; that is its affair.
        (void)SendAll(connection.Get(), DoneCode, CodeSize);
    }
    return handled;
}

void SingleInstance::CloseUnread()
{
    for (const Unread& u : unread_)
        ::close(u.fd);
    unread_.clear();
}

void SingleInstance::Release()
{
    CloseUnread();
    if (listenFd_ >= 0) {
        ::unlink(socketPath_.c_str());
        ::close(listenFd_);
        listenFd_ = -1;
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
    for (const int fd : killsToAnswer_) {
        (void)SendAll(fd, DoneCode, CodeSize);
        ::close(fd);
    }
    killsToAnswer_.clear();
}

}  // namespace trevolin::platform
