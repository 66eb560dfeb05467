#include "core/profiles/KeyTablesWriter.h"

#include "core/device/ConfigBracket.h"
#include "core/device/ResultDescription.h"
#include "core/keys/SnapshotKeyMap.h"
#include "core/macros/MacroPayload.h"
#include "core/profiles/ActiveProfile.h"
#include "core/profiles/SnapshotKeyTableView.h"

#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace trevolin::profiles {

namespace {

bool Stop(KeyboardWriteReport& report, KeyboardWriteReport::Stop stop, std::string problem)
{
    report.ok = false;
    report.stop = stop;
    report.problem = std::move(problem);
    return false;
}

void Note(KeyboardWriteReport& report, int result, const std::string& what)
{
    if (result == device::ResultOk || report.deviceResult != device::ResultOk)
        return;
    report.deviceResult = result;
    report.failedWrite = what;
}

}  // namespace

bool WriteKeyTables(const ApplySnapshot& snapshot, device::DeviceSession& session, bool allProfiles,
                    const base::TextLookup& texts, KeyboardWriteReport& report)
{
    using S = KeyboardWriteReport::Stop;
    report = KeyboardWriteReport{};

    const macros::MacroPayloadSize sizes = macros::MacroPayloadSizes(snapshot.Image().MacroRecords());
    report.fullSize = sizes.fullSize;
    report.bareSize = sizes.bareSize;
    report.capacity = session.MacroCapacity();
    if (sizes.bareSize > report.capacity) {
        report.excessBytes = sizes.bareSize - report.capacity;
        return Stop(report, S::MacrosTooLong,
                    "the macros need " + std::to_string(sizes.bareSize) + " bytes, " +
                        std::to_string(report.excessBytes) + " more than the keyboard's " +
                        std::to_string(report.capacity) + "-byte macro area");
    }
    report.namesIncluded = sizes.fullSize <= report.capacity;
    report.payloadSize = report.namesIncluded ? sizes.fullSize : sizes.bareSize;

    std::vector<int> profiles;
    if (allProfiles) {
        profiles = {0, 1, 2};
    } else {
        const int active = GetActiveProfile(session);
        if (active < 0 || active >= ProfileCount())
            return Stop(report, S::NoActiveProfile,
                        active < 0
                            ? "the keyboard did not say which profile is active"
                            : "the keyboard reports profile " + std::to_string(active) + ", which it cannot have");
        profiles = {active};
    }

    // A key left at its default is written as the keyboard's own default
    // entry: with only the built-in map, every key it does not know would
    // be written as no key at all.
    if (!session.FactoryKeymapRead() && !session.ReadFactoryKeymapAgain())
        return Stop(report, S::NoDefaultKeymap, NoDefaultKeymapProblem);

    std::vector<uint8_t> payload;
    std::vector<keys::KeyMapBlock> blocks;
    try {
        payload.resize(report.payloadSize);
        if (!macros::EncodeMacroPayload(snapshot.Image().MacroRecords(), payload, report.namesIncluded))
            return Stop(report, S::EncodeFailed, "the macros could not be encoded for the keyboard");
        const SnapshotKeyTableView table(snapshot);
        // Key actions name macros by the position of the macro area sent
        // with them.
        const keys::MacroPositionLookup positions = [&snapshot](uint16_t id) { return snapshot.MacroPosition(id); };
        const keys::KeyMapBlock factoryMap = session.FactoryKeymap();
        for (const int profile : profiles) {
            std::optional<keys::KeyMapBlock> block = keys::EncodeKeyMapBlock(table, profile, factoryMap, positions);
            if (!block)
                return Stop(report, S::EncodeFailed,
                            "the keys of profile " + std::to_string(profile) + " could not be encoded");
            blocks.push_back(*block);
        }
    } catch (const std::bad_alloc&) {
        return Stop(report, S::EncodeFailed, "there is not enough memory to build the keyboard's data");
    }

    auto& commands = session.Commands();
    device::ConfigBracket bracket(commands);
    report.beginResult = bracket.BeginResult();
    report.macroAreaResult = commands.WriteMacroArea(payload.data(), payload.size());
    Note(report, report.macroAreaResult, "macro area");
    for (size_t i = 0; i < profiles.size(); ++i) {
        const int result = commands.WriteKeymapBlock(blocks[i].data(), profiles[i]);
        report.profilesWritten.push_back(profiles[i]);
        report.blockResults.push_back(result);
        Note(report, result, "key-map block " + std::to_string(profiles[i]));
    }
    report.endResult = bracket.End();

    report.ok = report.deviceResult == device::ResultOk;
    if (!report.ok)
        report.problem = "writing the " + report.failedWrite +
                         " to the keyboard failed: " + device::DescribeResult(report.deviceResult, texts);
    return report.ok;
}

}  // namespace trevolin::profiles
