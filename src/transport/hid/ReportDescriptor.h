#pragma once

#include "CollectionUsage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace ql::hid {

enum class ReportType { Input = 0, Output = 1, Feature = 2 };

// What this library needs of a hidraw node's report descriptor: its
// top-level collections, which collection each input report belongs to, and
// how long each report is.
//
// A node may carry several collections; only the descriptor tells which
// collection an input report belongs to and how long each report is.
class ReportDescriptor {
public:
    static constexpr size_t kMaxSize = 4096;          // the kernel's limit for a descriptor
    static constexpr size_t kMaxReportLength = 4097;  // report id byte plus the kernel's 4096

    // Empty when the bytes are not a well-formed descriptor.
    static std::optional<ReportDescriptor> parse(const uint8_t* bytes, size_t size);

    const std::vector<CollectionUsage>& collections() const { return collections_; }
    // Whether the reports carry a report id byte on the wire.
    bool numbered() const { return numbered_; }
    // Index into collections() of the collection an input report belongs to.
    // Unnumbered reports belong to the only collection, if there is one.
    std::optional<size_t> collectionOfInput(uint8_t reportId) const;
    // Bytes of the report as hidraw moves it, the report id byte included
    // (0 for unnumbered reports); 0 when the descriptor declares no such report.
    size_t reportLength(ReportType type, uint8_t reportId) const;

    struct Report {
        ReportType type;
        uint8_t id;
        size_t length;   // as reportLength() gives it
        int collection;  // index into collections(); -1 when declared outside every collection
    };
    // Every report declared, for the log that helps support a new layout.
    std::vector<Report> reports() const;

private:
    ReportDescriptor();

    std::vector<CollectionUsage> collections_;
    bool numbered_ = false;
    std::array<std::array<int16_t, 256>, 3> owner_{};  // by type and report id: top-level collection, or -1
    std::array<std::array<uint32_t, 256>, 3> bits_{};
};

}  // namespace ql::hid
