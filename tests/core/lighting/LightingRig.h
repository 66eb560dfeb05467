#pragma once

#include "core/device/DeviceReport.h"
#include "core/device/HidLibrary.h"
#include "core/device/KeyboardCommands.h"
#include "core/device/ReportExchange.h"
#include "core/lighting/KeyTints.h"
#include "core/lighting/LightingController.h"
#include "core/lighting/LightingFiles.h"
#include "support/FakeHidLibrary.h"
#include "support/FakeKeyboard.h"
#include "support/ManualClock.h"
#include "support/MapTextLookup.h"
#include "support/TempDir.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace trevolin::lighting::test {

// The fake keyboard behind the scripted library, and a controller whose
// files live in a temporary folder. Every report sent is summarised as
// "<command> @<offset>: <data bytes in hex>" for writes of data,
// "<command> @<offset> #<length>" for reads, "<command>" for the bracket.
struct LightingRig {
    LightingRig()
        : library(fake.Exports()),
          exchange(library, clock),
          commands(exchange),
          controller(commands, Files(folder), tints)
    {
        fake.replySink = [this](const uint8_t* d, uint32_t n) { exchange.OnReply(d, n); };
        keyboard.AnswerFor(fake);
        for (const char* mode : {"1", "2", "4", "5", "12", "17", "18", "20"})
            texts.mode[mode] = std::string("Effect ") + mode;
    }

    static LightingFiles Files(const trevolin::test::TempDir& dir)
    {
        return LightingFiles(dir.File("UserDengColor_"), dir.File("Skins-UserDengColor_"), dir.File("wskb.ini"));
    }

    void SetEffects(std::initializer_list<uint8_t> effects) { keyboard.SetEffects(effects); }
    uint8_t* Record(int profile) { return keyboard.LightingRecord(profile); }

    // Sets the current profile, reads the keyboard back as on arrival and
    // forgets what that sent.
    void Connect(int profile)
    {
        commands.SetCurrentProfile(profile);
        static_cast<void>(controller.OnConnected());
        fake.written.clear();
    }

    std::vector<std::string> Sent() const
    {
        std::vector<std::string> sent;
        for (const auto& report : fake.written) {
            const uint8_t command = report.Command();
            if (command == 1 || command == 2) {
                sent.push_back(std::to_string(command));
            } else if (command == 6 || command == 17) {
                std::string line = fmt::format("{} @{}:", command, report.Offset());
                for (size_t i = 0; i < report.Length(); ++i)
                    line += fmt::format(" {:02x}", report.Data()[i]);
                sent.push_back(line);
            } else {
                sent.push_back(fmt::format("{} @{} #{}", command, report.Offset(), report.Length()));
            }
        }
        return sent;
    }

    std::string ModeFileText(int profile) const
    {
        return trevolin::test::TempDir::Read(folder.File("UserDengColor_" + std::to_string(profile) + ".userd"));
    }

    trevolin::test::TempDir folder;
    trevolin::test::FakeHidLibrary fake;
    device::HidLibrary library;
    trevolin::test::ManualClock clock;
    device::ReportExchange exchange;
    device::KeyboardCommands commands;
    KeyTints tints;
    LightingController controller;
    trevolin::test::MapTextLookup texts;
    trevolin::test::FakeKeyboard keyboard;
};

// "6 @<offset>: <bytes>" for a write of `bytes` at `offset`.
inline std::string Write6(int offset, std::initializer_list<int> bytes)
{
    std::string line = fmt::format("6 @{}:", offset);
    for (const int b : bytes)
        line += fmt::format(" {:02x}", b);
    return line;
}

}  // namespace trevolin::lighting::test
