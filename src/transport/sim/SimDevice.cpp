#include "SimDevice.h"

#include "FactoryKeymap.h"

#include <algorithm>
#include <cstring>

namespace trevolin::sim {
namespace {

// The lighting restore-default record: effect 1, brightness 4, speed 2,
// direction 0, multicolour on, white; the rest of the 42 bytes zero.
constexpr uint8_t kDefaultLighting[8] = {0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};

constexpr size_t kLightPositions = 144;

}  // namespace

SimDevice::SimDevice()
{
    factoryReset(SimModel{});
}

void SimDevice::factoryReset(const SimModel& model)
{
    info_.fill(0);
    // Bytes 0..7 are not interpreted by the program; this keyboard keeps its
    // USB ids and a model revision there.
    info_[0] = 0x45;
    info_[1] = 0x0C;
    info_[2] = 0x04;
    info_[3] = 0x50;
    info_[4] = 0x01;
    info_[8] = static_cast<uint8_t>(model.firmwareVersion & 0xFF);
    info_[9] = static_cast<uint8_t>(model.firmwareVersion >> 8);
    info_[10] = 0;
    info_[11] = model.macroUnits;
    std::copy(model.effects.begin(), model.effects.end(), info_.begin() + 12);

    lighting_.fill(0);
    for (size_t p = 0; p < 3; ++p)
        std::copy(std::begin(kDefaultLighting), std::end(kDefaultLighting), lighting_.begin() + p * kLightingRecord);

    defaultKeymap_ = FactoryKeymap::bytes();
    // A profile with no assignment holds the default map itself: the program
    // decodes a position equal to the default code as "keyboard default".
    for (size_t p = 0; p < 3; ++p)
        std::copy(defaultKeymap_.begin(), defaultKeymap_.end(), keymaps_.begin() + p * kBlockSize);

    // Word 0 is not 0x55AA, so the area reads as "no macros".
    macro_.fill(0);

    keyColors_.fill(0);
    for (size_t p = 0; p < 3; ++p)
        std::fill_n(keyColors_.begin() + p * kBlockSize, 3 * kLightPositions, uint8_t{0xFF});
}

uint16_t SimDevice::reportChecksum(const uint8_t* report)
{
    uint32_t sum = 0;
    for (size_t i = 3; i < kReportSize; ++i)
        sum += report[i];
    return static_cast<uint16_t>(sum & 0xFFFF);
}

void SimDevice::sealReply(Report& reply)
{
    const uint16_t sum = reportChecksum(reply.data());
    reply[1] = static_cast<uint8_t>(sum & 0xFF);
    reply[2] = static_cast<uint8_t>(sum >> 8);
}

std::span<uint8_t> SimDevice::area(Area which)
{
    switch (which) {
    case Area::Info:
        return info_;
    case Area::Lighting:
        return lighting_;
    case Area::Keymaps:
        return keymaps_;
    case Area::Macro:
        return std::span<uint8_t>(macro_).first(macroCapacity());
    case Area::DefaultKeymap:
        return defaultKeymap_;
    case Area::KeyColors:
        return keyColors_;
    }
    return {};
}

std::span<const uint8_t> SimDevice::area(Area which) const
{
    return const_cast<SimDevice*>(this)->area(which);
}

// A read may run past the end of its area as long as it starts inside it:
// the keyboard answers the bytes it has and zero-fills the rest. The program
// relies on this when it reads 56 bytes at offset 84 of the 126-byte
// lighting area.
uint8_t SimDevice::readArea(std::span<const uint8_t> area, unsigned offset, unsigned length, uint8_t* out) const
{
    if (length == 0)
        return offset <= area.size() ? kStatusOk : kStatusRefused;
    if (offset >= area.size())
        return kStatusRefused;
    const size_t available = std::min<size_t>(length, area.size() - offset);
    std::memcpy(out, area.data() + offset, available);
    return kStatusOk;
}

// A write must lie wholly inside its area; nothing of a refused write is kept.
uint8_t SimDevice::writeArea(std::span<uint8_t> area, unsigned offset, unsigned length, const uint8_t* data,
                             bool& changed)
{
    if (static_cast<size_t>(offset) + length > area.size())
        return kStatusRefused;
    if (length > 0 && std::memcmp(area.data() + offset, data, length) != 0) {
        std::memcpy(area.data() + offset, data, length);
        changed = true;
    }
    return kStatusOk;
}

// Only byte 10, the active profile, is writable; the other bytes of the
// block are the keyboard's and are ignored.
uint8_t SimDevice::writeInfo(unsigned offset, unsigned length, const uint8_t* data, bool& changed)
{
    if (static_cast<size_t>(offset) + length > kInfoSize)
        return kStatusRefused;
    if (offset <= 10 && 10 < offset + length) {
        const uint8_t profile = data[10 - offset];
        if (profile > 2)
            return kStatusRefused;
        if (info_[10] != profile) {
            info_[10] = profile;
            changed = true;
        }
    }
    return kStatusOk;
}

bool SimDevice::isBootRequest(const Report& request)
{
    const uint16_t sum = reportChecksum(request.data());
    const bool sumOk = request[1] == (sum & 0xFF) && request[2] == (sum >> 8);
    return request[0] == kReportId && request[3] == kCommandBootMode && request[4] == kCommandBootMode &&
           (sumOk || (request[1] == 0 && request[2] == 0));
}

SimDevice::Report SimDevice::refusal(const Report& request, uint8_t status)
{
    Report reply{};
    reply[0] = kReportId;
    reply[3] = request[3];
    reply[4] = request[4];
    reply[5] = request[5];
    reply[6] = request[6];
    reply[7] = status;
    sealReply(reply);
    return reply;
}

SimDevice::Outcome SimDevice::handle(const Report& request)
{
    Outcome out;
    if (isBootRequest(request)) {
        out.bootMode = true;
        return out;
    }
    out.hasReply = true;

    const uint8_t command = request[3];
    const unsigned length = request[4];
    const unsigned offset = request[5] | (request[6] << 8);
    const uint8_t* data = request.data() + 8;
    const uint16_t sum = reportChecksum(request.data());
    const bool sumOk = request[1] == (sum & 0xFF) && request[2] == (sum >> 8);

    Report& reply = out.reply;
    reply = refusal(request, kStatusOk);
    uint8_t* replyData = reply.data() + 8;

    uint8_t status = kStatusOk;
    if (request[0] != kReportId || !sumOk || length > kMaxData) {
        status = kStatusBadReport;
    } else {
        switch (command) {
        case 1:
        case 2:
        case 11:
        case 12:
        case 13:
        case 14:
            break;  // accepted, no effect on memory
        case 3:
            status = readArea(info_, offset, length, replyData);
            break;
        case 4:
            status = writeInfo(offset, length, data, out.changed);
            break;
        case 5:
            status = readArea(lighting_, offset, length, replyData);
            break;
        case 6:
            status = writeArea(lighting_, offset, length, data, out.changed);
            break;
        case 7:
            status = readArea(keymaps_, offset, length, replyData);
            break;
        case 8:
            status = writeArea(keymaps_, offset, length, data, out.changed);
            break;
        case 9:
            status = readArea(area(Area::Macro), offset, length, replyData);
            break;
        case 10:
            status = writeArea(area(Area::Macro), offset, length, data, out.changed);
            break;
        case 15:
            status = readArea(defaultKeymap_, offset, length, replyData);
            break;
        case 16:
            status = readArea(keyColors_, offset, length, replyData);
            break;
        case 17:
            status = writeArea(keyColors_, offset, length, data, out.changed);
            break;
        default:
            status = kStatusBadReport;
            break;
        }
    }
    if (status != kStatusOk)
        std::fill(reply.begin() + 8, reply.end(), uint8_t{0});
    reply[7] = status;
    sealReply(reply);
    return out;
}

}  // namespace trevolin::sim
