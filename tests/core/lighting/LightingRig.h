#pragma once

#include "core/device/DeviceReport.h"
#include "core/device/HidLibrary.h"
#include "core/device/KeyboardCommands.h"
#include "core/device/ReportExchange.h"
#include "core/lighting/KeyTints.h"
#include "core/lighting/LightingController.h"
#include "core/lighting/LightingFiles.h"
#include "support/FakeHidLibrary.h"
#include "support/ManualClock.h"
#include "support/MapTextLookup.h"
#include "support/TempDir.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace trevolin::lighting::test {

// A keyboard that answers the lighting reads from its own memory, and a
// controller whose files live in a temporary folder. Every report sent is
// summarised as "<command> @<offset>: <data bytes in hex>" for writes of
// data, "<command> @<offset> #<length>" for reads, "<command>" for the
// bracket.
struct LightingRig {
    LightingRig()
        : library(fake.Exports()), exchange(library, clock), commands(exchange),
          controller(commands, Files(folder), tints)
    {
        fake.replySink = [this](const uint8_t* d, uint32_t n) { exchange.OnReply(d, n); };
        fake.answer = [this](const device::DeviceReport& request, device::DeviceReport& reply) {
            if (failing.count(request.Command()) != 0 ||
                failingAt.count({request.Command(), static_cast<uint16_t>(request.Offset())}) != 0) {
                reply[7] = device::StatusRefused;
                return;
            }
            const size_t at = request.Offset();
            switch (request.Command()) {
            case device::KeyboardCommands::CmdReadInfo:
                std::copy(info.begin(), info.end(), reply.Data());
                break;
            case device::KeyboardCommands::CmdReadLighting:
                std::copy_n(lightingArea.begin() + static_cast<std::ptrdiff_t>(at), 56, reply.Data());
                break;
            case device::KeyboardCommands::CmdReadKeyColors:
                std::copy_n(colourArea.begin() + static_cast<std::ptrdiff_t>(at), 56, reply.Data());
                break;
            default:
                break;
            }
        };
        for (const char* mode : {"1", "2", "4", "5", "12", "17", "18", "20"})
            texts.mode[mode] = std::string("Effect ") + mode;
    }

    static LightingFiles Files(const trevolin::test::TempDir& dir)
    {
        return LightingFiles(dir.File("UserDengColor_"), dir.File("Skins-UserDengColor_"), dir.File("wskb.ini"));
    }

    void SetEffects(std::initializer_list<uint8_t> effects)
    {
        std::fill(info.begin() + 12, info.end(), 0);
        std::copy(effects.begin(), effects.end(), info.begin() + 12);
    }

    uint8_t* Record(int profile) { return lightingArea.data() + 42 * profile; }

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

    std::array<uint8_t, 44> info{};
    std::array<uint8_t, 3 * 42 + 56> lightingArea{};
    std::array<uint8_t, 3 * 512 + 56> colourArea{};
    std::set<uint8_t> failing;  // commands the keyboard refuses
    std::set<std::pair<uint8_t, uint16_t>> failingAt;  // ... at one offset only
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
