#include "core/platform/RuntimeFolder.h"
#include "core/platform/SingleInstance.h"
#include "support/ManualClock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace trevolin::platform {
namespace {

using Message = SingleInstance::Message;
using Result = SingleInstance::Result;
using Verdict = SingleInstance::Verdict;

SingleInstance::Handler Recording(std::vector<Message>& handled)
{
    return [&handled](Message m) {
        handled.push_back(m);
        return Verdict::Taken;
    };
}

// The second start as a bare socket, so that a test can look at what the
// first instance sends back, and when.
class RawPeer {
public:
    explicit RawPeer(const std::string& socketPath)
    {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
        connected_ = ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawPeer() { ::close(fd_); }
    bool Connected() const { return connected_; }
    void Send(const std::string& text) const
    {
        ASSERT_EQ(::send(fd_, text.data(), text.size(), MSG_NOSIGNAL), static_cast<ssize_t>(text.size()));
    }
    bool HasData() const
    {
        pollfd entry{fd_, POLLIN, 0};
        return ::poll(&entry, 1, 0) == 1;
    }
    // What is there to read now; "" at the end of the stream.
    std::string Received() const
    {
        char buffer[16] = {};
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

bool WaitReadable(int fd)
{
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 10000) == 1;
}

// A start on another thread connects, then sends: its request may come a
// moment after the connection, as the program's event loop sees it too.
size_t HandleWhenArrived(SingleInstance& instance, const SingleInstance::Handler& handler)
{
    for (int tries = 0; tries < 2000; ++tries) {
        if (const size_t handled = instance.HandlePending(handler))
            return handled;
        ::poll(nullptr, 0, 5);
    }
    return 0;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    SingleInstance::Outcome Claim(Message message, const SingleInstance::Options& options)
    {
        return SingleInstance::Claim(folder_, message, options, SteadyClock::Instance());
    }
    SingleInstance::Outcome Claim(Message message) { return Claim(message, {}); }
    std::string SocketPath() const { return folder_ + "/VSDRAVIK.socket"; }
    bool SocketExists() const
    {
        struct stat st {};
        return ::lstat(SocketPath().c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
    }

    std::vector<Message> handled_;
    test::TempDir dir_;
    // The folder the program uses with $XDG_RUNTIME_DIR pointing here.
    std::string folder_ = RuntimeFolder::PathFor(dir_.Path().string());
};

TEST_F(SingleInstanceTest, SecondStartHandsOverOpenAndEndsOnceTheFirstHasShownItself)
{
    auto first = Claim(Message::Open);
    ASSERT_EQ(first.result, Result::Primary) << first.detail;
    struct stat st {};
    ASSERT_EQ(::stat(folder_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(SocketExists());

    SingleInstance::Outcome second;
    std::thread secondStart([&] {
        SingleInstance::Options patient;
        patient.answerWaitMs = 30000;
        second = Claim(Message::Open, patient);
    });
    ASSERT_TRUE(WaitReadable(first.instance->ListenFd()));
    std::vector<Message> handled;
    EXPECT_EQ(HandleWhenArrived(*first.instance, Recording(handled)), 1u);
    secondStart.join();

    EXPECT_EQ(handled, std::vector<Message>{Message::Open});
    EXPECT_EQ(second.result, Result::SignalledRunningInstance) << second.detail;
    EXPECT_FALSE(second.instance);
    // The second start neither took over nor removed anything.
    EXPECT_TRUE(SocketExists());
    EXPECT_EQ(first.instance->HandlePending(Recording(handled)), 0u);
}

TEST_F(SingleInstanceTest, TheAcknowledgementLeavesOnlyAfterTheHandlerHasRun)
{
    auto first = Claim(Message::Open);
    ASSERT_EQ(first.result, Result::Primary) << first.detail;
    RawPeer peer(SocketPath());
    ASSERT_TRUE(peer.Connected());
    peer.Send("OPEN");

    bool answeredEarly = true;
    EXPECT_EQ(first.instance->HandlePending([&](Message) {
        answeredEarly = peer.HasData();
        return Verdict::Taken;
    }), 1u);
    EXPECT_FALSE(answeredEarly);
    EXPECT_EQ(peer.Received(), "DONE");
}

TEST_F(SingleInstanceTest, KillRunsTheExitPathThenAnswersAndFreesThePlaceForTheNextStart)
{
    auto first = Claim(Message::Open);
    ASSERT_EQ(first.result, Result::Primary) << first.detail;

    SingleInstance::Outcome killer;
    std::thread killStart([&] {
        SingleInstance::Options patient;
        patient.answerWaitMs = 30000;
        killer = Claim(Message::Kill, patient);
    });
    ASSERT_TRUE(WaitReadable(first.instance->ListenFd()));
    std::vector<Message> handled;
    HandleWhenArrived(*first.instance, [&](Message m) {
        handled.push_back(m);
        // The exit path lets the instance go from inside the handler.
        first.instance->Release();
        return Verdict::Taken;
    });
    killStart.join();

    EXPECT_EQ(handled, std::vector<Message>{Message::Kill});
    EXPECT_EQ(killer.result, Result::SignalledRunningInstance) << killer.detail;
    EXPECT_EQ(first.instance->ListenFd(), -1);
    EXPECT_FALSE(SocketExists());
    EXPECT_EQ(Claim(Message::Open).result, Result::Primary);
}

TEST_F(SingleInstanceTest, SocketLeftByACrashedRunIsReplaced)
{
    ASSERT_EQ(::mkdir(folder_.c_str(), 0700), 0);
    {
        // A listener that ended without cleaning up: the name stays, nobody
        // holds the lock and nobody accepts.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, SocketPath().c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    }
    ASSERT_TRUE(SocketExists());

    auto first = Claim(Message::Open);
    ASSERT_EQ(first.result, Result::Primary) << first.detail;
    RawPeer peer(SocketPath());
    ASSERT_TRUE(peer.Connected());
    peer.Send("KILL");
    std::vector<Message> handled;
    first.instance->HandlePending(Recording(handled));
    EXPECT_EQ(handled, std::vector<Message>{Message::Kill});

    first.instance.reset();
    EXPECT_FALSE(SocketExists());
}

TEST_F(SingleInstanceTest, SecondStartGivesUpWhenTheFirstDoesNotAnswer)
{
    auto first = Claim(Message::Open);
    ASSERT_EQ(first.result, Result::Primary) << first.detail;
    SingleInstance::Options hasty;
    hasty.answerWaitMs = 50;
    const auto second = Claim(Message::Open, hasty);
    EXPECT_EQ(second.result, Result::NoAnswer);
    EXPECT_FALSE(second.instance);
    EXPECT_TRUE(SocketExists());
}

TEST_F(SingleInstanceTest, LockHeldWithoutAListenerIsRetriedForTheBoundedTimeOnly)
{
    // The holder is between taking the lock and listening, and stays there.
    ASSERT_EQ(::mkdir(folder_.c_str(), 0700), 0);
    const int holder = ::open((folder_ + "/VSDRAVIK.lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    test::ManualClock clock;
    SingleInstance::Options options;
    options.answerWaitMs = 1000;
    const auto second = SingleInstance::Claim(folder_, Message::Open, options, clock);
    EXPECT_EQ(second.result, Result::NoAnswer) << second.detail;
    EXPECT_GE(clock.NowMs(), 1000u);
    EXPECT_LT(clock.NowMs(), 1100u);
    EXPECT_FALSE(SocketExists());

    ::close(holder);
    EXPECT_EQ(SingleInstance::Claim(folder_, Message::Open, options, clock).result, Result::Primary);
}

TEST_F(SingleInstanceTest, PeersOfAnotherUserNeverCount)
{
    const auto stranger = [](int) -> std::optional<uid_t> { return ::getuid() + 1; };
    SingleInstance::Options guarded;
    guarded.peerUid = stranger;
    auto first = Claim(Message::Open, guarded);
    ASSERT_EQ(first.result, Result::Primary) << first.detail;

    // The first instance does not obey another user's process.
    RawPeer peer(SocketPath());
    ASSERT_TRUE(peer.Connected());
    peer.Send("KILL");
    bool called = false;
    EXPECT_EQ(first.instance->HandlePending([&](Message) {
        called = true;
        return Verdict::Taken;
    }), 0u);
    EXPECT_FALSE(called);
    EXPECT_TRUE(peer.HasData());  // the end of the stream, not an answer
    EXPECT_EQ(peer.Received(), "");

    // A later start does not hand anything to a listener of another user.
    const auto second = Claim(Message::Kill, guarded);
    EXPECT_EQ(second.result, Result::ForeignPeer) << second.detail;
    EXPECT_EQ(first.instance->HandlePending([&](Message) {
        called = true;
        return Verdict::Taken;
    }), 0u);
    EXPECT_FALSE(called);
}

// A connection that sends nothing, or half a request, never holds the
// window's thread: it waits for later calls until its time is up.
TEST_F(SingleInstanceTest, OnlyAWholeKnownRequestInTimeIsHandledAndNoneIsWaitedFor)
{
    test::ManualClock clock;
    SingleInstance::Options options;
    options.requestWaitMs = 50;
    auto first = SingleInstance::Claim(folder_, Message::Open, options, clock);
    ASSERT_EQ(first.result, Result::Primary) << first.detail;

    RawPeer silent(SocketPath());
    RawPeer partial(SocketPath());
    RawPeer unknown(SocketPath());
    RawPeer lower(SocketPath());
    RawPeer good(SocketPath());
    partial.Send("OP");
    unknown.Send("STOP");
    lower.Send("open");
    good.Send("OPEN");

    std::vector<Message> handled;
    const uint64_t before = clock.NowMs();
    EXPECT_EQ(first.instance->HandlePending(Recording(handled)), 1u);
    EXPECT_EQ(clock.NowMs(), before);
    EXPECT_EQ(handled, std::vector<Message>{Message::Open});
    EXPECT_EQ(good.Received(), "DONE");
    for (const RawPeer* refused : {&unknown, &lower}) {
        EXPECT_TRUE(refused->HasData());
        EXPECT_EQ(refused->Received(), "");
    }
    EXPECT_TRUE(first.instance->AwaitingRequests());
    EXPECT_FALSE(silent.HasData());
    EXPECT_FALSE(partial.HasData());

    clock.SleepMs(50);
    EXPECT_EQ(first.instance->HandlePending(Recording(handled)), 0u);
    EXPECT_FALSE(first.instance->AwaitingRequests());
    for (const RawPeer* late : {&silent, &partial}) {
        EXPECT_TRUE(late->HasData());
        EXPECT_EQ(late->Received(), "");
    }
}

// KILL is answered once the lock is free, so that a start right after
// "/Kill" finds no instance; an ending instance refuses OPEN and the start
// that sent it takes the lock once it is free.
TEST_F(SingleInstanceTest, KillIsAnsweredAfterTheReleaseAndAnEndingInstanceRefusesOpen)
{
    auto first = Claim(Message::Open);
    ASSERT_EQ(first.result, Result::Primary) << first.detail;
    RawPeer killer(SocketPath());
    killer.Send("KILL");
    EXPECT_EQ(first.instance->HandlePending(Recording(handled_)), 1u);
    EXPECT_FALSE(killer.HasData());  // the exit path has not run yet

    SingleInstance::Outcome next;
    std::thread nextStart([&] {
        SingleInstance::Options patient;
        patient.answerWaitMs = 30000;
        next = Claim(Message::Open, patient);
    });
    ASSERT_TRUE(WaitReadable(first.instance->ListenFd()));
    EXPECT_EQ(HandleWhenArrived(*first.instance, [](Message) { return Verdict::Refused; }), 1u);
    first.instance->Release();
    EXPECT_EQ(killer.Received(), "DONE");
    nextStart.join();
    EXPECT_EQ(next.result, Result::Primary) << next.detail;
}

TEST_F(SingleInstanceTest, FolderOthersCanUseIsRefused)
{
    ASSERT_EQ(::mkdir(folder_.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(folder_.c_str(), 0755), 0);
    const auto refused = Claim(Message::Open);
    EXPECT_EQ(refused.result, Result::Unavailable);
    EXPECT_NE(refused.detail.find("0755"), std::string::npos) << refused.detail;
    EXPECT_FALSE(SocketExists());

    // Nor is a link to a private folder: its target could change under us.
    const std::string target = dir_.File("elsewhere");
    ASSERT_EQ(::mkdir(target.c_str(), 0700), 0);
    const std::string link = dir_.File("link");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    const auto linked = SingleInstance::Claim(link, Message::Open, {}, SteadyClock::Instance());
    EXPECT_EQ(linked.result, Result::Unavailable);
    EXPECT_NE(linked.detail.find("not a folder"), std::string::npos) << linked.detail;
}

TEST_F(SingleInstanceTest, SocketPathTooLongIsReported)
{
    const std::string deep = dir_.File(std::string(100, 'x'));
    const auto outcome = SingleInstance::Claim(deep, Message::Open, {}, SteadyClock::Instance());
    EXPECT_EQ(outcome.result, Result::Unavailable);
    EXPECT_NE(outcome.detail.find("too long"), std::string::npos) << outcome.detail;
}

TEST(SingleInstanceMessage, OnlyTheExactFourByteCodesAreMessages)
{
    for (const Message message : {Message::Open, Message::Kill, Message::KeyboardChanged}) {
        EXPECT_EQ(SingleInstance::CodeOf(message).size(), SingleInstance::CodeSize);
        EXPECT_EQ(SingleInstance::DecodeMessage(SingleInstance::CodeOf(message)), message);
    }
    using namespace std::string_view_literals;
    for (const std::string_view request : {""sv, "OPE"sv, "OPEN\n"sv, "open"sv, "DONE"sv, "KIL\0"sv, "SYNC\0"sv})
        EXPECT_EQ(SingleInstance::DecodeMessage(request), std::nullopt) << request;
}

TEST(RuntimeFolder, IsTheSessionsRuntimeFolderOrAPrivateOneInTmp)
{
    const std::string fallback = "/tmp/trevolin-" + std::to_string(::getuid());
    EXPECT_EQ(RuntimeFolder::PathFor("/run/user/1000"), "/run/user/1000/trevolin");
    EXPECT_EQ(RuntimeFolder::PathFor(std::nullopt), fallback);
    EXPECT_EQ(RuntimeFolder::PathFor(""), fallback);
    EXPECT_EQ(RuntimeFolder::PathFor("run/user/1000"), fallback);
}

}  // namespace
}  // namespace trevolin::platform
