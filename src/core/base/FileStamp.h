#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace trevolin::base {

// What tells one state of a file from another without reading it: the file
// it is (device and inode, which an atomic replacement changes), its size,
// its modification time to the nanosecond and its change time (which a
// change of permissions also moves).
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;
    int64_t changedSeconds = 0;
    int64_t changedNanoseconds = 0;

    // nullopt when the path cannot be examined (a missing file, say).
    static std::optional<FileStamp> Of(const std::string& path);

    bool operator==(const FileStamp&) const = default;
};

}  // namespace trevolin::base
