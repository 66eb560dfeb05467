#include "core/profiles/ImageFile.h"

#include "core/base/AtomicFile.h"
#include "core/profiles/ProfileHeader.h"
#include "core/profiles/TextArea.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <mutex>
#include <new>
#include <system_error>
#include <utility>
#include <vector>

namespace trevolin::profiles {

namespace {

constexpr uint64_t MaxImageSize = std::numeric_limits<uint32_t>::max();

}  // namespace

bool SerializeImage(ProfileStore& store, std::string& out)
{
    ProfileImage& image = store.Image();
    if (!image.HasFixedPart())
        return false;
    const uint16_t macroCount = image.MacroCount();
    const uint64_t textBytes = store.Texts().TotalBytes();
    const uint64_t total = FixedPartSize + uint64_t{macroCount} * MacroRecordSize + textBytes;
    // The header holds the total in 32 bits.
    if (total > MaxImageSize)
        return false;
    try {
        BuildHeader(image.FixedPart(), macroCount, static_cast<uint32_t>(textBytes), 0);
        const auto area = PackTextArea(image, store.Texts(), static_cast<uint32_t>(textBytes));
        std::string bytes;
        bytes.reserve(static_cast<size_t>(total));
        const auto append = [&bytes](std::span<const uint8_t> part) {
            bytes.append(reinterpret_cast<const char*>(part.data()), part.size());
        };
        append(std::as_const(image).FixedPart());
        append(image.MacroRecords());
        append(area);
        out = std::move(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool ParseImage(std::span<const uint8_t> bytes, ProfileImage& image, TextTable& texts)
{
    if (bytes.size() < FixedPartSize)
        return false;
    const ProfileHeader header = ProfileHeader::Read(bytes);
    const uint64_t needed = header.ImpliedSize();
    if (header.macroCount > MaxMacroCount || header.totalSize != needed || bytes.size() < needed)
        return false;
    const size_t macroBytes = size_t{header.macroCount} * MacroRecordSize;
    const auto fixedPart = bytes.first(FixedPartSize);
    const auto macros = bytes.subspan(FixedPartSize, macroBytes);
    const auto area = bytes.subspan(FixedPartSize + macroBytes, header.stringBytes);
    try {
        ProfileImage read;
        if (!read.SetFixedPart(std::vector<uint8_t>(fixedPart.begin(), fixedPart.end())) ||
            !read.SetMacroRecords(std::vector<uint8_t>(macros.begin(), macros.end()), header.macroCount))
            return false;
        TextTable readTexts;
        if (!ReadTextArea(read, area, readTexts))
            return false;
        image = std::move(read);
        texts = std::move(readTexts);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool WriteImageFile(ProfileStore& store, bool takeLock, const std::string& path)
{
    std::unique_lock<std::recursive_mutex> guard(store.Lock(), std::defer_lock);
    if (takeLock)
        guard.lock();
    std::string bytes;
    if (!SerializeImage(store, bytes))
        return false;
    return base::AtomicFile::Write(path, bytes);
}

bool ReadImageFile(ProfileStore& store, const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    const uint64_t fileSize = std::filesystem::file_size(path, error);
    if (error || fileSize < FixedPartSize)
        return false;
    // Opened for update, as an exchange file is when it is checked: a file
    // the user may not write is not taken.
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file)
        return false;

    uint8_t headerBytes[HeaderSize];
    if (!file.read(reinterpret_cast<char*>(headerBytes), HeaderSize))
        return false;
    const ProfileHeader header = ProfileHeader::Read(headerBytes);
    const uint64_t needed = header.ImpliedSize();
    // Checked before anything is allocated for it: the header alone must not
    // make us reserve memory the file cannot fill.
    if (header.macroCount > MaxMacroCount || header.totalSize != needed || fileSize < needed)
        return false;

    std::vector<uint8_t> bytes;
    try {
        bytes.resize(static_cast<size_t>(needed));
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::copy(std::begin(headerBytes), std::end(headerBytes), bytes.begin());
    file.read(reinterpret_cast<char*>(bytes.data() + HeaderSize), static_cast<std::streamsize>(needed - HeaderSize));
    // The file may have shrunk since its size was taken.
    if (static_cast<uint64_t>(file.gcount()) != needed - HeaderSize)
        return false;

    ProfileImage image;
    TextTable texts;
    if (!ParseImage(bytes, image, texts))
        return false;
    store.Replace(std::move(image), std::move(texts));
    return true;
}

bool MakeDefaultImage(const std::string& path, uint8_t flags)
{
    try {
        const auto bytes = ProfileImage::DefaultFixedPart(flags);
        return base::AtomicFile::Write(path,
                                       std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool MakeDefaultImage(ProfileStore& store, uint8_t flags)
{
    std::lock_guard guard(store.Lock());
    try {
        return store.Image().SetFixedPart(ProfileImage::DefaultFixedPart(flags));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace trevolin::profiles
