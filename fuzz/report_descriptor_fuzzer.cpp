// Feeds arbitrary bytes, as if read from a hidraw node's report_descriptor,
// to the transport library's descriptor parser. What it accepts must keep
// its answers within bounds: report owners name a collection it has, report
// lengths fit what hidraw moves, and the list the log prints agrees with
// the lengths the writes are padded to.
#include "transport/hid/ReportDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using ql::hid::ReportDescriptor;
using ql::hid::ReportType;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);  // exact size: an overrun is reported
    const auto descriptor = ReportDescriptor::parse(bytes.data(), bytes.size());
    if (!descriptor)
        return 0;
    if (size == 0 || size > ReportDescriptor::kMaxSize)
        __builtin_trap();
    const size_t collections = descriptor->collections().size();
    for (unsigned id = 0; id < 256; ++id) {
        const auto owner = descriptor->collectionOfInput(static_cast<uint8_t>(id));
        if (owner && *owner >= collections)
            __builtin_trap();
        for (const ReportType type : {ReportType::Input, ReportType::Output, ReportType::Feature}) {
            const size_t length = descriptor->reportLength(type, static_cast<uint8_t>(id));
            if (length != 0 && (length < 2 || length > ReportDescriptor::kMaxReportLength))
                __builtin_trap();
            if (length != 0 && descriptor->numbered() == (id == 0))
                __builtin_trap();
        }
    }
    for (const auto& report : descriptor->reports()) {
        if (report.collection < -1 || report.collection >= static_cast<int>(collections))
            __builtin_trap();
        if (report.length == 0 || report.length != descriptor->reportLength(report.type, report.id))
            __builtin_trap();
    }
    return 0;
}
