#pragma once

// The composition root over the simulated keyboard, in a temporary user
// folder, with the window's side recorded.
#include "core/app/KeyboardApp.h"
#include "support/MapTextLookup.h"
#include "support/RecordingMainWindow.h"
#include "support/RecordingPrompts.h"
#include "support/TempDir.h"
#include "transport/sim/SimKeyboardControl.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace trevolin::app::test {

struct SimAppRig {
    SimAppRig()
    {
        EXPECT_TRUE(kb.ok()) << kb.error();
        EXPECT_EQ(kb.Init(0), 1);
        EXPECT_EQ(kb.QlSimReset(), 1);
        EXPECT_TRUE(kb.waitIdle());
    }

    ~SimAppRig()
    {
        app.reset();
        kb.QlSimSetLatency(0);
        kb.QlSimDropReplies(0);
    }

    // Opens the app; `arrivalLoaded` hears each load on arrival on the
    // keyboard thread (the desktop program's way) when given.
    // `keyboardLockPath`: the user's keyboard lock, taken for every sequence.
    void Open(std::function<void(const ArrivalLoad&)> arrivalLoaded = {}, bool loadOnArrival = true,
              std::string keyboardLockPath = {})
    {
        KeyboardAppOptions options{
            .libraryName = device::SimulatedHidLibrary,
            .startedHidden = true,
            .userFolder = {dir.File("user"), dir.File("template.userd")},
            .lightingFiles = lighting::LightingFiles(dir.File("user/UserDengColor_"), dir.File("UserDengColor_"),
                                                     dir.File("wskb.ini")),
            .loadOnArrival = loadOnArrival,
            .arrivalStarted = {},
            .arrivalLoaded = std::move(arrivalLoaded),
            .pendingChanged = {},
            .keyboardLockPath = std::move(keyboardLockPath),
            .beforeKeyboardChange = {},
            .keyButtons = nullptr,
        };
        auto opened = KeyboardApp::Open(std::move(options), texts, prompts, window);
        ASSERT_EQ(opened.error, KeyboardApp::OpenError::None) << opened.detail;
        app = std::move(opened.app);
        app->WaitForPresence();
    }

    sim::SimKeyboardControl& kb = sim::SimKeyboardControl::instance();
    trevolin::test::TempDir dir;
    trevolin::test::MapTextLookup texts{{"PROFILE_1", "Profile 1"},
                                        {"PROFILE_2", "Profile 2"},
                                        {"PROFILE_3", "Profile 3"},
                                        {"DEFAULT_PROFILE_NAME", "Default"},
                                        {"MAIN_NO_DEVICE_PROMPT", "No keyboard"},
                                        {"MAIN_PROMPT_DEFAULT", "Restore the defaults?"}};
    trevolin::test::RecordingPrompts prompts;
    trevolin::test::RecordingMainWindow window;
    std::unique_ptr<KeyboardApp> app;
};

}  // namespace trevolin::app::test
