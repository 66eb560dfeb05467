#include "cli/InfoCommand.h"

#include "core/lighting/EffectNames.h"

#include "cli/ProfileNumber.h"

#include "core/device/InfoBlock.h"
#include "core/device/ResultDescription.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

namespace trevolin::cli {

CLI::App* InfoCommand::Register(CLI::App& parent)
{
    auto* sub = parent.add_subcommand("info", "Show the keyboard's firmware, active profile, macro capacity and "
                                              "lighting effects");
    sub->add_flag("--json", json_, "Print JSON");
    return sub;
}

namespace {

std::string VersionText(uint16_t version)
{
    return fmt::format("{}.{:02x}", version >> 8, version & 0xFF);
}

}  // namespace

int InfoCommand::Execute(CliContext& context)
{
    int exitCode = ExitOk;
    auto connection =
        KeyboardConnection::Open(context.connection, context.locations, context.texts, context.err, exitCode);
    if (!connection)
        return exitCode;

    device::InfoBlock info;
    const int result = connection->Call([&] { return connection->Commands().ReadInfo(info.bytes.data()); });
    if (result != device::ResultOk) {
        context.err << "trevolinctl: cannot read the keyboard's information: "
                    << device::DescribeResult(result, context.texts) << ".\n";
        return ExitKeyboardError;
    }
    const auto effects = info.SupportedEffects();
    const uint16_t firmware = info.FirmwareVersion();
    if (json_) {
        nlohmann::json j;
        j["library"] = connection->App().LibraryName();
        j["firmwareVersion"] = firmware;
        j["firmware"] = VersionText(firmware);
        j["firmwareTooOld"] = info.FirmwareTooOld();
        j["activeProfile"] = info.ActiveProfile();
        j["activeProfileNumber"] = ProfileNumberOf(info.ActiveProfile());
        j["macroCapacity"] = info.MacroCapacity();
        j["effects"] = nlohmann::json::array();
        for (uint8_t e : effects)
            j["effects"].push_back({{"number", e}, {"name", lighting::EffectName(context.texts, e)}});
        context.out << j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        return ExitOk;
    }
    context.out << fmt::format("Firmware version   {} (0x{:04X})\n", VersionText(firmware), firmware)
                << fmt::format("Active profile     {}\n", ProfileNumberOf(info.ActiveProfile()))
                << fmt::format("Macro capacity     {} bytes\n", info.MacroCapacity()) << "Lighting effects\n";
    for (uint8_t e : effects)
        context.out << fmt::format("  {:>2}  {}\n", e, lighting::EffectName(context.texts, e));
    if (info.FirmwareTooOld())
        context.out << fmt::format("The keyboard's firmware is too old: version {} or later is needed. "
                                   "Update the firmware to use every feature.\n",
                                   VersionText(device::InfoBlock::MinimumFirmware));
    return ExitOk;
}

}  // namespace trevolin::cli
