#include "core/profiles/ProfileFileCheck.h"

#include "core/device/Bytes.h"
#include "core/macros/Macro.h"
#include "core/macros/MacroText.h"
#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileHeader.h"
#include "core/profiles/ProfileLayout.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>
#include <vector>

namespace trevolin::profiles {

namespace {

using device::GetLe16;
using device::GetLe32;

constexpr uint64_t FourGiB = uint64_t{1} << 32;

ProfileFileCheck Verdict(int result, std::string reason, bool formatError = false)
{
    return {result, formatError, std::move(reason), {}};
}

// The system's words for an error number, as a clause: "permission denied".
std::string SystemReason(int number)
{
    std::string text = std::generic_category().message(number);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

std::string Hex(unsigned value)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), digits[value % 16]);
        value /= 16;
    } while (value != 0);
    return "0x" + out;
}

// The first header rule the 32 bytes break, or empty.
std::string BrokenHeaderRule(const uint8_t* h)
{
    const auto n = [](uint64_t v) { return std::to_string(v); };
    if (GetLe16(h) != ProfileHeader::Magic)
        return "the magic is " + Hex(GetLe16(h)) + ", not 0x4446";
    if (GetLe16(h + 2) != HeaderSize)
        return "the header size is " + n(GetLe16(h + 2)) + ", not 32";
    if (GetLe16(h + 4) != 3)
        return "the word at offset 4 is " + n(GetLe16(h + 4)) + ", not 3";
    if (GetLe16(h + 6) != 1)
        return "the word at offset 6 is " + n(GetLe16(h + 6)) + ", not 1";
    const uint32_t total = GetLe32(h + 8);
    if (total < FixedPartSize)
        return "the total size " + n(total) + " is below 32832";
    if (GetLe16(h + 12) != EntryCount)
        return "the entry count is " + n(GetLe16(h + 12)) + ", not 2048";
    const uint16_t macroCount = GetLe16(h + 14);
    if (macroCount > MaxMacroCount)
        return "the macro count " + n(macroCount) + " is above 100";
    if (h[30] > 1)
        return "the flags byte is " + n(h[30]) + ", neither 0 nor 1";
    // Counted in 64 bits: a sum that only matches after wrapping is no match.
    const uint64_t implied = uint64_t{macroCount} * MacroRecordSize + GetLe32(h + 16) + FixedPartSize;
    if (implied != total)
        return "the total size " + n(total) + " does not match the " + n(macroCount) + " macros and " +
               n(GetLe32(h + 16)) + " text bytes (" + n(implied) + ")";
    const uint8_t sum = ProfileHeader::ComputeChecksum(std::span<const uint8_t>(h, HeaderSize));
    if (h[ProfileHeader::ChecksumOffset] != sum)
        return "the checksum byte is " + Hex(h[ProfileHeader::ChecksumOffset]) + ", but the header adds up to " +
               Hex(sum);
    return {};
}

}  // namespace

ProfileFileCheck CheckProfileFile(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return Verdict(0, "no such file");
    if (error)
        return Verdict(0, SystemReason(error.value()));
    if (status.type() == std::filesystem::file_type::directory)
        return Verdict(0, "it is a folder, not a file");
    if (status.type() != std::filesystem::file_type::regular)
        return Verdict(0, "it is not a regular file");
    // Opened for update as restoring it needs: a file the user may not write
    // is not taken.
    errno = 0;
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file)
        return Verdict(-2, "it cannot be opened for reading and writing" +
                               (errno != 0 ? ": " + SystemReason(errno) : std::string()));
    const uint64_t size = std::filesystem::file_size(path, error);
    if (error)
        return Verdict(-2, "the size of the file cannot be read");
    if (size >= FourGiB)
        return Verdict(0, "the file is 4 GiB or larger");
    if (size < FixedPartSize)
        return Verdict(0, "the file is " + std::to_string(size) +
                              " bytes, smaller than the 32832 bytes of a profile file");

    uint8_t header[HeaderSize];
    if (!file.read(reinterpret_cast<char*>(header), HeaderSize))
        return Verdict(0, "the file's header cannot be read");
    if (std::string rule = BrokenHeaderRule(header); !rule.empty())
        return Verdict(0, std::move(rule), true);

    // Only what the header declares is read, and only when the file has it.
    const uint64_t total = GetLe32(header + 8);
    if (size < total)
        return Verdict(0, "the file is " + std::to_string(size) + " bytes, fewer than the " + std::to_string(total) +
                              " its header declares");
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(static_cast<size_t>(total));
    } catch (const std::bad_alloc&) {
        return Verdict(-3, "there is not enough memory to read the file");
    }
    std::copy(std::begin(header), std::end(header), bytes.begin());
    file.read(reinterpret_cast<char*>(bytes.data() + HeaderSize), static_cast<std::streamsize>(total - HeaderSize));
    if (static_cast<uint64_t>(file.gcount()) != total - HeaderSize)
        return Verdict(0, "the file ended before the " + std::to_string(total) + " bytes its header declares");

    ProfileImage image;
    TextTable texts;
    if (!ParseImage(bytes, image, texts))
        return Verdict(0, "a key's text lies outside the text area or does not end inside it");

    ProfileFileCheck verdict = Verdict(1, {});
    for (size_t position = 0; position < image.MacroCount(); ++position) {
        const auto record = image.MacroRecord(position);
        const std::string which = "macro " + std::to_string(position + 1) + " (\"" +
                                  macros::Utf16ToUtf8(macros::Macro::ReadName(record)) + "\")";
        // Read from the record itself: Macro::Read would already have cut it.
        const uint16_t events = GetLe16(record.data() + macros::Macro::EventCountOffset);
        if (events > macros::Macro::MaxEvents)
            return Verdict(0,
                           which + " declares " + std::to_string(events) + " events, more than the " +
                               std::to_string(macros::Macro::MaxEvents) + " a macro holds",
                           true);
        if (macros::Macro::Read(record).playCount == 0)
            verdict.notes.push_back(which + " has a play count of 0, which the keyboard cannot play; it is restored "
                                            "with a play count of 1");
    }
    return verdict;
}

}  // namespace trevolin::profiles
