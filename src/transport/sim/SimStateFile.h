// The simulated keyboard's memory on disk, so that it survives a restart
// the way a real keyboard's flash does.
//
// Layout, little-endian:
//   0..7    "QLSIMKB\x01" (magic and format version 1)
//   8..11   payload length L (at most 1 MiB)
//   12..    payload: sections of [4-byte tag][u32 length][bytes]
//             "PROF" 1 byte      active profile (0..2)
//             "LITE" 126 bytes   lighting area
//             "KMAP" 1536 bytes  key-map area
//             "KCOL" 1536 bytes  per-key colour area
//             "MACR" 0..32640    macro area (as long as the capacity was)
//           each exactly once; unknown tags are skipped
//   12+L..  CRC-32 (IEEE) of the payload
// The model (firmware version, capacity, effects) and the factory key map
// are not stored: they come from the environment at every Init.
#pragma once

#include "SimDevice.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trevolin::sim {

class SimStateFile {
public:
    enum class Load { Loaded, Missing, Corrupt };

    // The path from TREVOLIN_SIM_STATE, else
    // ${XDG_DATA_HOME:-$HOME/.local/share}/Dravik-RGB_01/simulated-keyboard.state;
    // empty when neither can be formed.
    static std::string defaultPath();

    static std::vector<uint8_t> encode(const SimDevice& device);
    // Applies the memory to `device` only when the whole image is valid.
    static bool decode(const std::vector<uint8_t>& image, SimDevice& device);

    static Load load(const std::string& path, SimDevice& device);
    // Writes a temporary file beside `path` and renames it over `path`, so a
    // reader, or a process killed in the middle, sees the old image or the
    // new one, never a part of one. `durable` also fsyncs the temporary file
    // before the rename, for the case of the whole machine stopping.
    static bool save(const std::string& path, const std::vector<uint8_t>& image, bool durable, std::string& error);

    static uint32_t crc32(const uint8_t* bytes, size_t count);

    // Which file is at `path` now: every save renames a new file over the
    // old one, so another process's save changes the stamp. An absent file
    // has the empty stamp.
    struct Stamp {
        uint64_t device = 0, inode = 0, size = 0, modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const std::string& path);
};

}  // namespace trevolin::sim
