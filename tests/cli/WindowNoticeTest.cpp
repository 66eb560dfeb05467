// trevolinctl beside the desktop window: a window of the same user that
// shows the keyboard is told when a command changed it, and only then.
#include "CliTestSupport.h"

#include "core/base/Environment.h"
#include "core/platform/Clock.h"
#include "core/platform/RuntimeFolder.h"
#include "core/platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <vector>

namespace trevolin::test {
namespace {

using platform::SingleInstance;

class WindowNoticeTest : public CliTest {
protected:
    // The window's side: the instance socket in the runtime folder the
    // command line uses too.
    SingleInstance::Outcome Window()
    {
        const auto env = base::Environment::System();
        return SingleInstance::Claim(platform::RuntimeFolder::PathFor(env.AbsolutePath("XDG_RUNTIME_DIR")),
                                     SingleInstance::Message::Open, {}, platform::SteadyClock::Instance());
    }

    std::vector<SingleInstance::Message> Heard(SingleInstance& window)
    {
        std::vector<SingleInstance::Message> heard;
        window.HandlePending([&](SingleInstance::Message m) {
            heard.push_back(m);
            return SingleInstance::Verdict::Taken;
        });
        return heard;
    }
};

TEST_F(WindowNoticeTest, AWindowHearsOfChangesOnly)
{
    auto window = Window();
    ASSERT_EQ(window.result, SingleInstance::Result::Primary) << window.detail;

    ASSERT_EQ(Run({"keys"}).exitCode, 0);
    EXPECT_TRUE(Heard(*window.instance).empty());

    const auto set = Run({"key", "set", "F5", "key:A"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(Heard(*window.instance), std::vector<SingleInstance::Message>{SingleInstance::Message::KeyboardChanged});
}

}  // namespace
}  // namespace trevolin::test
