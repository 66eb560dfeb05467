#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/ModeFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace trevolin::lighting {
namespace {

// The factory template shipped with the skins: ten modes, each with every
// key's light in the base colour and following it.
TEST(ModeTemplateTest, EveryKeyOfEveryModeFollowsItsBaseColour)
{
    const std::string path = std::string(TREVOLIN_SOURCE_DIR) + "/data/Skins/UserDengColor_3.userd";
    ASSERT_TRUE(std::filesystem::is_regular_file(path)) << path;
    const ModeFile file(path);
    EXPECT_EQ(file.ReadPresentUserMode(), 0);
    for (int u = 0; u < ModeFile::UserModeCount; ++u) {
        EXPECT_EQ(file.ReadUserModeName(u), "User " + std::to_string(u + 1));
        const UserModeSettings settings = file.ReadUserModeSettings(u);
        EXPECT_EQ(settings.baseColour, (RgbColor{255, 255, 255})) << u;
        keyboard::ForEachKey(
            [&](keyboard::KeyRef key) {
                const uint8_t light = keyboard::LightPositionOf(key);
                if (!keyboard::HasLight(light))
                    return;
                // A missing entry would read as red: every key has its own.
                EXPECT_EQ(file.ReadKeyColour(u, light), (KeyColour{settings.baseColour, true}))
                    << "mode " << u << " light " << int(light);
            },
            keyboard::FnKeyVisit::Last);
    }
}

}  // namespace
}  // namespace trevolin::lighting
