#include "cli/RawReadCommand.h"

#include "cli/ProfileNumber.h"

#include "core/device/Bytes.h"
#include "core/device/ConfigBracket.h"
#include "core/device/InfoBlock.h"
#include "core/device/ResultDescription.h"
#include "core/macros/MacroPayload.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <array>
#include <vector>

namespace trevolin::cli {

namespace {

constexpr const char* Areas = "info, lighting, keymap N, default-keymap, macro, colors N";

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string s;
    for (uint8_t b : bytes)
        s += fmt::format("{:02x}", b);
    return s;
}

void Dump(std::ostream& out, const std::vector<uint8_t>& bytes)
{
    for (size_t row = 0; row < bytes.size(); row += 16) {
        out << fmt::format("{:04x}:", row);
        for (size_t i = row; i < std::min(bytes.size(), row + 16); ++i)
            out << fmt::format(" {:02x}", bytes[i]);
        out << "\n";
    }
}

// Reads one area; returns the device result. `note` says what the user
// should know about the bytes shown.
int ReadArea(device::DeviceSession& session, const std::string& area, int n, std::vector<uint8_t>& bytes,
             std::string& note)
{
    auto& c = session.Commands();
    if (area == "info") {
        bytes.resize(device::InfoBlock::Size);
        return c.ReadInfo(bytes.data());
    }
    if (area == "keymap" || area == "default-keymap") {
        bytes.resize(512);
        return area == "keymap" ? c.ReadKeymapBlock(bytes.data(), n) : c.ReadDefaultKeymap(bytes.data());
    }
    if (area == "macro") {
        // The header says how long the area is; an area without the marker
        // holds no macros and is shown as its header alone. A header that
        // declares more than the area holds is shown with the bytes the
        // area has: the keyboard refuses a read that starts past its end.
        bytes.resize(macros::MacroPayloadHeader::Size);
        int result = c.ReadMacroArea(bytes.data(), bytes.size());
        const auto header = macros::MacroPayloadHeader::Read(bytes);
        if (result != device::ResultOk || !header.HoldsMacros())
            return result;
        const size_t length = macros::MacroAreaReadSize(header, session.MacroCapacity());
        if (length < header.totalSize)
            note = fmt::format("the macro area is damaged: its header declares {} bytes, but the keyboard's macro "
                               "area holds {}; those are shown",
                               header.totalSize, length);
        if (length <= bytes.size())
            return result;
        bytes.resize(length);
        return c.ReadMacroArea(bytes.data(), length);
    }
    // Lighting records and colour pages are read inside a configuration
    // bracket, as the keyboard expects.
    int result = device::ResultOk;
    const device::ConfigBracket bracket(c);
    if (area == "lighting") {
        for (uint16_t offset : {uint16_t(0), uint16_t(42), uint16_t(84)}) {
            std::array<uint8_t, 56> piece{};
            result = c.ReadLighting(piece.data(), 56, offset);
            if (result != device::ResultOk)
                break;
            bytes.insert(bytes.end(), piece.begin(), piece.begin() + 42);
        }
    } else {
        for (int key = 0; key < 144; key += 18) {
            std::array<uint8_t, 56> piece{};
            result = c.ReadKeyColors(piece.data(), 54, key, n);
            if (result != device::ResultOk)
                break;
            bytes.insert(bytes.end(), piece.begin(), piece.begin() + 54);
        }
    }
    return result;
}

}  // namespace

CLI::App* RawReadCommand::Register(CLI::App& parent)
{
    auto* raw = parent.add_subcommand("raw", "Low-level access to the keyboard's memory");
    raw->require_subcommand(1);
    auto* read = raw->add_subcommand("read", std::string("Hex dump of a memory area: ") + Areas);
    read->add_option("area", area_, "info | lighting | keymap | default-keymap | macro | colors")
        ->required()
        ->check(CLI::IsMember({"info", "lighting", "keymap", "default-keymap", "macro", "colors"}));
    read->add_option("number", number_, "The profile (1, 2 or 3) for keymap and colors")
        ->check(CLI::Range(FirstProfileNumber, LastProfileNumber));
    read->add_flag("--json", json_, "Print JSON");
    return read;
}

int RawReadCommand::Execute(CliContext& context)
{
    const bool needsProfile = area_ == "keymap" || area_ == "colors";
    if (needsProfile != (number_ >= 0)) {
        context.err << "trevolinctl: raw read " << area_
                    << (needsProfile ? " needs a profile number: 1, 2 or 3.\n" : " takes no number.\n");
        return ExitUsage;
    }
    int exitCode = ExitOk;
    auto connection =
        KeyboardConnection::Open(context.connection, context.locations, context.texts, context.err, exitCode);
    if (!connection)
        return exitCode;

    std::vector<uint8_t> bytes;
    std::string note;
    const int result = connection->Call([&] {
        return ReadArea(connection->Session(), area_, needsProfile ? ProfileIndexOf(number_) : -1, bytes, note);
    });
    if (!note.empty())
        context.err << "trevolinctl: warning: " << note << ".\n";
    if (result != device::ResultOk) {
        context.err << "trevolinctl: cannot read " << area_ << ": " << device::DescribeResult(result, context.texts)
                    << ".\n";
        return ExitKeyboardError;
    }
    if (json_) {
        nlohmann::json j{{"area", area_}, {"length", bytes.size()}, {"hex", Hex(bytes)}};
        if (needsProfile) {
            j["profile"] = ProfileIndexOf(number_);
            j["profileNumber"] = number_;
        }
        context.out << j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    } else {
        Dump(context.out, bytes);
    }
    return ExitOk;
}

}  // namespace trevolin::cli
