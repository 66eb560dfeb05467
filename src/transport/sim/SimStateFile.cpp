#include "SimStateFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trevolin::sim {
namespace {

constexpr char kMagic[8] = {'Q', 'L', 'S', 'I', 'M', 'K', 'B', '\x01'};
constexpr uint32_t kMaxPayload = 1u << 20;
constexpr size_t kHeader = 12;

void putU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t getU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void putSection(std::vector<uint8_t>& out, const char (&tag)[5], std::span<const uint8_t> bytes)
{
    out.insert(out.end(), tag, tag + 4);
    putU32(out, static_cast<uint32_t>(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

bool absolute(const char* path)
{
    return path && path[0] == '/';
}

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); absolute(home))
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && absolute(found->pw_dir))
        return found->pw_dir;
    return {};
}

// mkdir -p; the folders are the user's own data folders.
bool makeFolders(const std::string& folder)
{
    if (folder.empty())
        return true;
    for (size_t i = 1; i <= folder.size(); ++i) {
        if (i != folder.size() && folder[i] != '/')
            continue;
        const std::string prefix = folder.substr(0, i);
        if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

bool writeAll(int fd, const uint8_t* bytes, size_t count)
{
    while (count > 0) {
        const ssize_t n = ::write(fd, bytes, count);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

uint32_t SimStateFile::crc32(const uint8_t* bytes, size_t count)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string SimStateFile::defaultPath()
{
    if (const char* path = std::getenv("TREVOLIN_SIM_STATE"); path && *path)
        return path;
    std::string base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); absolute(data)) {
        base = data;
    } else {
        const std::string home = homeFolder();
        if (home.empty())
            return {};
        base = home + "/.local/share";
    }
    return base + "/Dravik-RGB_01/simulated-keyboard.state";
}

std::vector<uint8_t> SimStateFile::encode(const SimDevice& device)
{
    std::vector<uint8_t> payload;
    const uint8_t profile = device.activeProfile();
    putSection(payload, "PROF", std::span<const uint8_t>(&profile, 1));
    putSection(payload, "LITE", device.area(Area::Lighting));
    putSection(payload, "KMAP", device.area(Area::Keymaps));
    putSection(payload, "KCOL", device.area(Area::KeyColors));
    putSection(payload, "MACR", device.area(Area::Macro));

    std::vector<uint8_t> image(kMagic, kMagic + 8);
    putU32(image, static_cast<uint32_t>(payload.size()));
    image.insert(image.end(), payload.begin(), payload.end());
    putU32(image, crc32(payload.data(), payload.size()));
    return image;
}

bool SimStateFile::decode(const std::vector<uint8_t>& image, SimDevice& device)
{
    if (image.size() < kHeader + 4 || std::memcmp(image.data(), kMagic, 8) != 0)
        return false;
    const uint32_t length = getU32(image.data() + 8);
    if (length > kMaxPayload || image.size() != kHeader + length + 4)
        return false;
    const uint8_t* payload = image.data() + kHeader;
    if (crc32(payload, length) != getU32(payload + length))
        return false;

    struct Section {
        const char* tag;
        size_t minSize, maxSize;
        const uint8_t* bytes = nullptr;
        size_t size = 0;
    };
    Section sections[] = {
        {"PROF", 1, 1},
        {"LITE", SimDevice::kLightingSize, SimDevice::kLightingSize},
        {"KMAP", SimDevice::kKeymapsSize, SimDevice::kKeymapsSize},
        {"KCOL", SimDevice::kKeyColorsSize, SimDevice::kKeyColorsSize},
        {"MACR", 0, SimDevice::kMacroMax},
    };
    size_t at = 0;
    while (at < length) {
        if (length - at < 8)
            return false;
        const uint8_t* head = payload + at;
        const uint32_t size = getU32(head + 4);
        if (size > length - at - 8)
            return false;
        for (Section& section : sections) {
            if (std::memcmp(head, section.tag, 4) != 0)
                continue;
            if (section.bytes || size < section.minSize || size > section.maxSize)
                return false;
            section.bytes = head + 8;
            section.size = size;
        }
        at += 8 + size;
    }
    for (const Section& section : sections) {
        if (!section.bytes && section.minSize > 0)
            return false;
    }
    if (sections[0].bytes[0] > 2)
        return false;

    device.setActiveProfile(sections[0].bytes[0]);
    std::memcpy(device.area(Area::Lighting).data(), sections[1].bytes, sections[1].size);
    std::memcpy(device.area(Area::Keymaps).data(), sections[2].bytes, sections[2].size);
    std::memcpy(device.area(Area::KeyColors).data(), sections[3].bytes, sections[3].size);
    std::span<uint8_t> macro = device.macroStore();
    std::fill(macro.begin(), macro.end(), uint8_t{0});
    if (sections[4].bytes)
        std::memcpy(macro.data(), sections[4].bytes, sections[4].size);
    return true;
}

SimStateFile::Load SimStateFile::load(const std::string& path, SimDevice& device)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? Load::Missing : Load::Corrupt;
    std::vector<uint8_t> image;
    uint8_t buffer[8192];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (n == 0)
            break;
        image.insert(image.end(), buffer, buffer + n);
        if (image.size() > kHeader + kMaxPayload + 4) {
            ok = false;
            break;
        }
    }
    ::close(fd);
    return ok && decode(image, device) ? Load::Loaded : Load::Corrupt;
}

SimStateFile::Stamp SimStateFile::stampOf(const std::string& path)
{
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return {};
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), static_cast<uint64_t>(st.st_size),
            static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u + static_cast<uint64_t>(st.st_mtim.tv_nsec)};
}

bool SimStateFile::save(const std::string& path, const std::vector<uint8_t>& image, bool durable, std::string& error)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
    if (!makeFolders(folder)) {
        error = "cannot create " + folder + ": " + std::strerror(errno);
        return false;
    }
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot create a temporary file beside " + path + ": " + std::strerror(errno);
        return false;
    }
    // Without the fsync a crash of the machine could leave a renamed but
    // empty file; loading treats that as damage (factory state, a warning).
    // It costs milliseconds per save, and a save follows every changing
    // command, so it is the model's choice (TREVOLIN_SIM_FSYNC).
    const bool written = writeAll(fd, image.data(), image.size()) && (!durable || ::fsync(fd) == 0);
    const int savedErrno = errno;
    ::close(fd);
    if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + std::strerror(written ? errno : savedErrno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace trevolin::sim
