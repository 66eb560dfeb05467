#pragma once

#include <cstddef>
#include <cstdint>

namespace ql::hid {

class Channel;

// Where a channel's reader thread, and a writer that finds the device gone,
// hand what they learn.
class ReportSink {
public:
    virtual ~ReportSink() = default;

    // One input report of the channel's collection, report id first.
    virtual void inputReport(const Channel& channel, const uint8_t* data, size_t length) = 0;
    // The channel failed (see Channel::failure()); it reads nothing more.
    virtual void channelFailed(const Channel& channel) = 0;
};

}  // namespace ql::hid
