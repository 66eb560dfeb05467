#include "core/platform/NamedEvents.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

namespace trevolin::platform {
namespace {

// The user id plus this test program's process id, so that test runs of
// other checkouts on the machine never meet ours.
std::string TestOwner()
{
    return NamedEvents::OwnerFor("/run/user/test") + ".test" + std::to_string(::getpid());
}

bool Exists(const std::string& name)
{
    sem_t* handle = ::sem_open(name.c_str(), 0);
    if (handle == SEM_FAILED)
        return false;
    ::sem_close(handle);
    return true;
}

// The count of an existing event; -1 when it cannot be opened.
int CountOf(const std::string& name)
{
    sem_t* handle = ::sem_open(name.c_str(), 0);
    if (handle == SEM_FAILED)
        return -1;
    int value = -1;
    ::sem_getvalue(handle, &value);
    ::sem_close(handle);
    return value;
}

// What a crashed run leaves: an event with a count, never removed.
void LeaveStale(const std::string& name, int count)
{
    sem_t* handle = ::sem_open(name.c_str(), O_CREAT, 0600, 0);
    ASSERT_NE(handle, SEM_FAILED);
    for (int i = 0; i < count; ++i)
        ::sem_post(handle);
    ::sem_close(handle);
}

TEST(NamedEvents, NamesCarryTheNumberWithTwoDigitsAtLeastAndTheOwner)
{
    EXPECT_EQ(NamedEvents::NameOf(1, "1000"), "/Trevolin_Event_Main_01.1000");
    EXPECT_EQ(NamedEvents::NameOf(99, "1000"), "/Trevolin_Event_Main_99.1000");
    EXPECT_EQ(NamedEvents::NameOf(210, "0"), "/Trevolin_Event_Main_210.0");
    // One set per session: the user and the session's runtime folder.
    const std::string mine = NamedEvents::OwnerFor("/run/user/1000");
    EXPECT_EQ(mine.rfind(std::to_string(::getuid()) + "-", 0), 0u) << mine;
    EXPECT_EQ(mine, NamedEvents::OwnerFor("/run/user/1000"));
    EXPECT_NE(mine, NamedEvents::OwnerFor("/run/user/1000/other-session"));
}

// Another user who made a name first, open to everyone, would share our
// events: such a name is not used.
TEST(NamedEvents, AnEventOthersMayOpenIsNotUsed)
{
    const std::string owner = TestOwner();
    const std::string shared = NamedEvents::NameOf(7, owner);
    LeaveStale(shared, 0);
    const std::filesystem::path file = "/dev/shm/sem." + shared.substr(1);
    std::error_code error;
    std::filesystem::permissions(file, std::filesystem::perms(0666), error);
    if (error)
        GTEST_SKIP() << "no /dev/shm file to open up";

    auto guest = NamedEvents::Create(owner, false);
    ASSERT_TRUE(guest.events);
    EXPECT_EQ(guest.events->Held(), 209u);
    EXPECT_NE(guest.detail.find("open to others"), std::string::npos) << guest.detail;
    guest.events->Release();
    ::sem_unlink(shared.c_str());
}

TEST(NamedEvents, AllAreCreatedAtStartAndRemovedAtTheEnd)
{
    const std::string owner = TestOwner();
    auto outcome = NamedEvents::Create(owner, true);
    ASSERT_TRUE(outcome.events);
    EXPECT_EQ(outcome.detail, "");
    EXPECT_EQ(outcome.events->Held(), 210u);
    for (int number = 1; number <= NamedEvents::Count; ++number)
        EXPECT_EQ(CountOf(NamedEvents::NameOf(number, owner)), 0) << number;
    EXPECT_FALSE(Exists(NamedEvents::NameOf(211, owner)));

    outcome.events.reset();
    for (int number = 1; number <= NamedEvents::Count; ++number)
        EXPECT_FALSE(Exists(NamedEvents::NameOf(number, owner))) << number;
}

TEST(NamedEvents, OnlyTheLockHolderReplacesWhatACrashedRunLeft)
{
    const std::string owner = TestOwner();
    const std::string first = NamedEvents::NameOf(1, owner);
    const std::string last = NamedEvents::NameOf(210, owner);
    LeaveStale(first, 3);
    LeaveStale(last, 1);

    // Without the lock they may be a running instance's: used, kept.
    {
        auto guest = NamedEvents::Create(owner, false);
        ASSERT_TRUE(guest.events);
        EXPECT_EQ(guest.events->Held(), 210u);
        EXPECT_EQ(CountOf(first), 3);
        guest.events->Release();
        EXPECT_EQ(CountOf(first), 3);
        EXPECT_EQ(CountOf(last), 1);
        EXPECT_FALSE(Exists(NamedEvents::NameOf(2, owner)));
    }

    auto holder = NamedEvents::Create(owner, true);
    ASSERT_TRUE(holder.events);
    EXPECT_EQ(holder.detail, "");
    EXPECT_EQ(CountOf(first), 0);
    EXPECT_EQ(CountOf(last), 0);
    holder.events.reset();
    EXPECT_FALSE(Exists(first));
    EXPECT_FALSE(Exists(last));
}

TEST(NamedEvents, NameThatCannotBeCreatedIsReportedAndTheRestAreHeld)
{
    // glibc keeps named semaphores as "sem.<name>" files in /dev/shm; a
    // folder of that name can be neither removed by sem_unlink nor opened.
    const std::string owner = TestOwner();
    const std::filesystem::path squatter = "/dev/shm/sem.Trevolin_Event_Main_05." + owner;
    std::error_code error;
    if (!std::filesystem::create_directory(squatter, error))
        GTEST_SKIP() << "no /dev/shm to put a folder in";

    auto outcome = NamedEvents::Create(owner, true);
    std::filesystem::remove(squatter, error);
    ASSERT_TRUE(outcome.events);
    EXPECT_EQ(outcome.events->Held(), 209u);
    EXPECT_NE(outcome.detail.find("1 of the 210"), std::string::npos) << outcome.detail;
    EXPECT_NE(outcome.detail.find("Trevolin_Event_Main_05"), std::string::npos) << outcome.detail;
    outcome.events.reset();
    EXPECT_FALSE(Exists(NamedEvents::NameOf(4, owner)));
}

TEST(NamedEvents, OwnersThatWouldBendTheNameAreRefused)
{
    const std::vector<std::string> owners = {
        "", ".", "..", "a/b", "1000 ", std::string(65, '1'), std::string("1\0", 2)};
    for (const auto& owner : owners) {
        const auto outcome = NamedEvents::Create(owner, true);
        EXPECT_FALSE(outcome.events) << owner;
        EXPECT_FALSE(outcome.detail.empty()) << owner;
    }
}

}  // namespace
}  // namespace trevolin::platform
