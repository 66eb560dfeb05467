#include "core/profiles/KeyboardImageReader.h"

#include "core/device/Bytes.h"
#include "core/device/ResultDescription.h"
#include "core/keys/KeyAction.h"
#include "core/keys/SnapshotKeyMap.h"
#include "core/macros/MacroPayload.h"
#include "core/profiles/ActiveProfile.h"
#include "core/profiles/ImageDescriptor.h"
#include "core/profiles/ProfileHeader.h"
#include "core/profiles/ProfileLayout.h"

#include <algorithm>
#include <array>
#include <new>
#include <span>
#include <vector>

namespace trevolin::profiles {

namespace {

bool Fail(KeyboardReadReport& report, int result, std::string problem)
{
    report.ok = false;
    report.deviceResult = result;
    report.problem = std::move(problem);
    return false;
}

std::string ReadProblem(const std::string& what, int result, const base::TextLookup& texts)
{
    return "reading " + what + " from the keyboard failed: " + device::DescribeResult(result, texts);
}

}  // namespace

bool ReadKeyboardImage(device::DeviceSession& session, const base::TextLookup& texts, std::string& bytes,
                       KeyboardReadReport& report)
{
    report = KeyboardReadReport{};
    auto& commands = session.Commands();

    // Byte 10 is read only to know the keyboard answers and holds a sane
    // block; all three blocks are read whatever it says.
    report.activeProfile = GetActiveProfile(session);
    if (report.activeProfile < 0 || report.activeProfile > 3)
        return Fail(report, report.activeProfile < 0 ? device::ResultNoDevice : device::ResultOk,
                    report.activeProfile < 0 ? "the keyboard did not say which profile is active"
                                             : "the keyboard reports profile " + std::to_string(report.activeProfile) +
                                                   ", which it cannot have");

    std::array<std::array<uint8_t, device::KeyboardCommands::BlockSize>, 3> blocks{};
    for (int block = 0; block < 3; ++block) {
        const int result = commands.ReadKeymapBlock(blocks[static_cast<size_t>(block)].data(), block);
        if (result != device::ResultOk)
            return Fail(report, result, ReadProblem("key-map block " + std::to_string(block), result, texts));
    }

    std::array<uint8_t, macros::MacroPayloadHeader::Size> headerBytes{};
    int result = commands.ReadMacroArea(headerBytes.data(), headerBytes.size());
    if (result != device::ResultOk)
        return Fail(report, result, ReadProblem("the macro area's header", result, texts));
    const auto header = macros::MacroPayloadHeader::Read(headerBytes);

    try {
        std::vector<uint8_t> records;
        uint16_t macroCount = 0;
        if (header.HoldsMacros()) {
            if (header.totalSize < macros::MacroPayloadHeader::Size || header.macroCount > MaxMacroCount) {
                // Reading on would only fetch bytes that cannot be decoded.
                report.macroAreaDamaged = true;
            } else {
                // A header that declares more than the area holds is damage,
                // not a reason to fail: the keyboard refuses a read that
                // starts past its area, and the user could then never
                // replace what is there.
                const size_t readSize = macros::MacroAreaReadSize(header, session.MacroCapacity());
                std::vector<uint8_t> area(readSize);
                result = commands.ReadMacroArea(area.data(), area.size());
                if (result != device::ResultOk)
                    return Fail(report, result, ReadProblem("the macro area", result, texts));
                if (readSize < header.totalSize) {
                    report.macroAreaDamaged = true;
                    // Decoded as far as the bytes read go: the records
                    // before the damage are kept.
                    device::PutLe16(area.data() + 2, static_cast<uint16_t>(readSize));
                }
                records.resize(size_t{header.macroCount} * MacroRecordSize);
                const int decoded = macros::DecodeMacroPayload(area, records, texts);
                if (decoded < 0 || decoded < header.macroCount)
                    report.macroAreaDamaged = true;
                report.macroNamesStored = header.namesFlag != 0;
                macroCount = static_cast<uint16_t>(std::max(decoded, 0));
                records.resize(size_t{macroCount} * MacroRecordSize);
            }
        }

        std::vector<uint8_t> image(FixedPartSize + records.size());
        const std::span<uint8_t> all(image);
        BuildHeader(all, macroCount, 0, 0);
        ImageDescriptor::Write(all.subspan(DescriptorOffset, DescriptorSize));
        // The default map says which key sits at each position: a key the
        // built-in map does not know would be read as at its default.
        if (!session.FactoryKeymapRead() && !session.ReadFactoryKeymapAgain())
            report.defaultKeymapMissing = true;
        for (size_t layer = 0; layer < 3; ++layer) {
            const keys::KeyBlock actions = keys::DecodeKeyMapBlock(blocks[layer], session.FactoryKeymap(), macroCount);
            for (size_t entry = 0; entry < EntriesPerLayer; ++entry) {
                const auto at =
                    all.subspan(EntriesOffset + layer * LayerBytes + entry * EntrySize).first<keys::KeyActionSize>();
                keys::WriteKeyAction(actions[entry], at);
            }
        }
        std::copy(records.begin(), records.end(), image.begin() + FixedPartSize);
        bytes.assign(reinterpret_cast<const char*>(image.data()), image.size());
        report.macroCount = macroCount;
    } catch (const std::bad_alloc&) {
        return Fail(report, device::ResultOk, "there is not enough memory for the keyboard's profiles");
    }
    report.ok = true;
    return true;
}

}  // namespace trevolin::profiles
