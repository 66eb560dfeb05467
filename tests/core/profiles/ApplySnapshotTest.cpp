#include "core/macros/MacroPayload.h"
#include "core/profiles/ApplySnapshot.h"
#include "core/profiles/ProfileHeader.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/StoreMacroList.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace trevolin::profiles {
namespace {

bool OtherThreadCanLock(std::recursive_mutex& lock)
{
    return std::async(std::launch::async,
                      [&lock] {
                          if (!lock.try_lock())
                              return false;
                          lock.unlock();
                          return true;
                      })
        .get();
}

TEST(ApplySnapshot, CopiesTheStoreWithARebuiltHeaderAndPackedTextsAndLetsItsLockGo)
{
    ProfileStore store;
    std::vector<uint8_t> macros(2 * MacroRecordSize, 0x5A);
    ASSERT_TRUE(store.Image().SetMacroRecords(macros, 2));
    store.Image().SetEntryKind(700, keys::KeyAction::TextBlock);
    EXPECT_TRUE(store.Texts().Set(700, u"abc"));
    EXPECT_TRUE(store.Texts().Set(20, u"not packed"));  // its entry has kind 0
    const std::optional<ApplySnapshot> made = MakeSnapshot(store);
    ASSERT_TRUE(made);
    const ApplySnapshot& snapshot = *made;
    EXPECT_TRUE(OtherThreadCanLock(store.Lock()));

    const auto header = ProfileHeader::Read(snapshot.Image().FixedPart());
    EXPECT_EQ(header.macroCount, 2);
    EXPECT_EQ(header.stringBytes, 8u + 22u);
    EXPECT_EQ(header.totalSize, 32832u + 2 * 32512u + 30u);
    EXPECT_EQ(snapshot.Image().MacroCount(), 2);
    EXPECT_EQ(std::vector<uint8_t>(snapshot.Image().MacroRecords().begin(), snapshot.Image().MacroRecords().end()),
              macros);
    const std::vector<uint8_t> area(snapshot.TextArea().begin(), snapshot.TextArea().end());
    std::vector<uint8_t> expectedArea = {'a', 0, 'b', 0, 'c', 0, 0, 0};
    expectedArea.resize(30, 0);
    EXPECT_EQ(area, expectedArea);
    EXPECT_EQ(store.Image().EntryValue(700), 0u);
    EXPECT_EQ(snapshot.Image().EntryValue(700), 0u);

    // Later edits of the store do not reach the snapshot.
    store.Image().SetEntryKind(701, 2);
    EXPECT_EQ(snapshot.Image().EntryKind(701), 0);
}

TEST(ApplySnapshot, StoreWithoutAFixedPartGivesNoSnapshotAndNoHeldLock)
{
    ProfileStore store;
    store.ReleaseFixedPart();
    EXPECT_FALSE(MakeSnapshot(store));
    EXPECT_TRUE(OtherThreadCanLock(store.Lock()));
}

TEST(ApplySnapshot, MacroPayloadComesFromTheSnapshotAfterTheStoreMovesOn)
{
    ProfileStore store;
    macros::Macro hello;
    hello.id = 1;
    hello.name = u"Hello";
    hello.playCount = 3;
    hello.events = {{0, 0x1D, macros::MacroEvent::Press}, {0, 0x1D, macros::MacroEvent::Release}};
    ASSERT_TRUE(CommitMacroList(store, std::vector{hello}).committed);
    const auto storeSizes = macros::MacroPayloadSizes(store.Image().MacroRecords());
    std::vector<uint8_t> fromStore(storeSizes.fullSize);
    ASSERT_TRUE(macros::EncodeMacroPayload(store.Image().MacroRecords(), fromStore, true));

    const std::optional<ApplySnapshot> snapshot = MakeSnapshot(store);
    ASSERT_TRUE(snapshot);
    // The store moves on; the snapshot keeps what was taken.
    ASSERT_TRUE(CommitMacroList(store, {}).committed);
    const auto sizes = macros::MacroPayloadSizes(snapshot->Image().MacroRecords());
    std::vector<uint8_t> payload(sizes.fullSize);
    ASSERT_TRUE(macros::EncodeMacroPayload(snapshot->Image().MacroRecords(), payload, true));
    EXPECT_EQ(payload, fromStore);
}

}  // namespace
}  // namespace trevolin::profiles
