// The profile manager's list: rows keep what they stand for, only the
// keyboard's rows are ticked, and Apply's plan.
#include "core/profiles/ProfileManager.h"

#include <gtest/gtest.h>

namespace trevolin::profiles {
namespace {

ProfileManagerModel Manager(int active)
{
    return ProfileManagerModel({"Profile 1", "Profile 2", "Profile 3"}, "/home/u/.local/share/p/$Profile0.tvl",
                               {FileRow("/home/u/games/fps.tvl"), FileRow("/home/u/racing.tvl")}, active);
}

TEST(ProfileManager, RowsKeepTheirProfileWhenOthersAreDeleted)
{
    ProfileManagerModel manager = Manager(1);
    ASSERT_EQ(manager.Rows().size(), 5u);
    EXPECT_EQ(manager.Rows()[3].name, "fps");
    EXPECT_EQ(manager.Rows()[3].Folder(), "/home/u/games/");
    EXPECT_EQ(manager.TickedRow(), 1u);
    EXPECT_FALSE(manager.Modified());

    // The keyboard's rows stay; a file row goes, and the next row (or the
    // one before, after the last) is selected.
    EXPECT_EQ(manager.Delete(0), std::nullopt);
    EXPECT_EQ(manager.Delete(3), 3u);
    EXPECT_EQ(manager.Delete(3), 2u);
    EXPECT_EQ(manager.Rows().size(), 3u);
    EXPECT_TRUE(manager.Modified());

    // Ticking "Profile 3" activates profile index 2 whatever was deleted.
    EXPECT_TRUE(manager.Tick(2));
    const auto plan = manager.PlanApply();
    EXPECT_EQ(plan.activate, 2);
}

TEST(ProfileManager, FileRowsCannotBeTickedAndNoTickActivatesNothing)
{
    ProfileManagerModel manager = Manager(-1);
    EXPECT_EQ(manager.TickedRow(), std::nullopt);
    EXPECT_FALSE(manager.Tick(4));  // a file: no profile index above 2 ever goes out
    EXPECT_FALSE(manager.Tick(9));
    EXPECT_FALSE(manager.Modified());
    const auto plan = manager.PlanApply();
    EXPECT_EQ(plan.activate, std::nullopt);
    // Every row is kept by its path, and the count under PROFILE00.
    ASSERT_EQ(plan.settings.size(), 6u);
    EXPECT_EQ(plan.settings[0], (std::pair<std::string, std::string>{"PROFILE01", "/home/u/.local/share/p/$Profile0.tvl"}));
    EXPECT_EQ(plan.settings[4], (std::pair<std::string, std::string>{"PROFILE05", "/home/u/racing.tvl"}));
    EXPECT_EQ(plan.settings[5], (std::pair<std::string, std::string>{"PROFILE00", "5"}));
}

TEST(ProfileManager, ASwitchMadeElsewhereTicksItsRowAndLeavesNothingToApply)
{
    ProfileManagerModel manager = Manager(0);
    manager.AddFile("/tmp/new.tvl");
    EXPECT_TRUE(manager.Modified());
    manager.FollowSwitch(2);
    EXPECT_EQ(manager.TickedRow(), 2u);
    EXPECT_FALSE(manager.Modified());
    EXPECT_EQ(manager.Rows().back().name, "new");
}

}  // namespace
}  // namespace trevolin::profiles
