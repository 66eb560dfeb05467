#include "core/base/Language.h"

#include "core/base/FileStamp.h"
#include "core/base/IniFile.h"
#include "core/base/SystemLanguage.h"

#include <mutex>
#include <optional>
#include <utility>

namespace trevolin::base {

namespace {

// System languages that read the file of a close relative.
struct LanguageMapping {
    uint32_t system;
    uint32_t mapped;
};

// clang-format off
constexpr LanguageMapping Mappings[] = {
    {0x1004, 0x0404}, {0x0809, 0x0409}, {0x0C09, 0x0409}, {0x1009, 0x0409}, {0x1409, 0x0409}, {0x1809, 0x0409},
    {0x1C09, 0x0409}, {0x2009, 0x0409}, {0x2409, 0x0409}, {0x2809, 0x0409}, {0x2C09, 0x0409},
    // German of Switzerland, Austria, Luxembourg and Liechtenstein.
    {0x0807, 0x0407}, {0x0C07, 0x0407}, {0x1007, 0x0407}, {0x1407, 0x0407},
    // French of Belgium, Canada, Switzerland, Luxembourg and Monaco.
    {0x080C, 0x040C}, {0x0C0C, 0x040C}, {0x100C, 0x040C}, {0x140C, 0x040C}, {0x180C, 0x040C},
};
// clang-format on

// Only the first five slots are offered for choosing a language; the empty
// slots among them never match, so an unknown system language (id 0) cannot
// select a slot without a file.
bool IsSupported(uint32_t id)
{
    for (size_t i = 0; i < 5; ++i) {
        if (id != 0 && Language::SupportedIds[i] == id) {
            return true;
        }
    }
    return false;
}

// The language the system asks for, as one with a language file.
uint32_t AutomaticId(const Environment& environment)
{
    uint32_t id = SystemLanguage::Id(environment);
    for (const auto& mapping : Mappings) {
        if (mapping.system == id) {
            id = mapping.mapped;
            break;
        }
    }
    return IsSupported(id) ? id : SystemLanguage::UsEnglish;
}

size_t SlotOf(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= Language::SupportedIds.size() ||
        Language::SupportedIds[static_cast<size_t>(index)] == 0) {
        return 0;
    }
    return static_cast<size_t>(index);
}

}  // namespace

// What was last read, with the stamp each file had just before it was read:
// a file that changes while it is read then differs at the next lookup.
struct Language::Cache {
    struct LanguageCopy {
        bool read = false;
        std::optional<FileStamp> stamp;
        std::optional<std::string> text;
    };

    std::mutex mutex;
    bool haveId = false;
    std::optional<FileStamp> settingsStamp;
    uint32_t id = 0;
    std::array<LanguageCopy, SupportedIds.size()> files;
    size_t reads = 0;
};

Language::Language(Locations locations, SettingsStore settings, Environment environment)
    : locations_(std::move(locations)),
      settings_(std::move(settings)),
      environment_(std::move(environment)),
      cache_(std::make_shared<Cache>())
{
}

size_t Language::FileReads() const
{
    const std::lock_guard lock(cache_->mutex);
    return cache_->reads;
}

std::optional<uint32_t> Language::StoredId() const
{
    const auto stored = settings_.GetDword(SettingsStore::LanguageKeyPath, SettingsStore::LanguageIdName);
    if (stored && *stored != 0) {
        return stored;
    }
    // A missing, zero or non-number value means "choose automatically".
    return std::nullopt;
}

uint32_t Language::LanguageId() const
{
    const std::lock_guard lock(cache_->mutex);
    const auto stamp = FileStamp::Of(settings_.File());
    if (cache_->haveId && stamp == cache_->settingsStamp) {
        return cache_->id;
    }
    ++cache_->reads;
    cache_->haveId = true;
    cache_->settingsStamp = stamp;
    cache_->id = StoredId().value_or(AutomaticId(environment_));
    return cache_->id;
}

bool Language::Chosen() const
{
    return StoredId().has_value();
}

bool Language::ChooseAutomatically()
{
    const std::lock_guard lock(cache_->mutex);
    cache_->haveId = false;
    return settings_.SetDword(SettingsStore::LanguageKeyPath, SettingsStore::LanguageIdName, 0);
}

int Language::ChoiceIndex() const
{
    const auto stored = StoredId();
    if (!stored) {
        return -1;
    }
    for (size_t i = 0; i < SupportedNames.size(); ++i) {
        if (SupportedIds[i] == *stored) {
            return static_cast<int>(i);
        }
    }
    return -2;
}

bool Language::Choose(int index)
{
    return index < 0 ? ChooseAutomatically() : SetLanguageIndex(index);
}

int Language::LanguageIndex() const
{
    const uint32_t id = LanguageId();
    for (size_t i = 0; i < 5; ++i) {
        if (SupportedIds[i] == id) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

bool Language::SetLanguageIndex(int index)
{
    const size_t slot = (index < 0 || index > 5) ? 0 : static_cast<size_t>(index);
    const std::lock_guard lock(cache_->mutex);
    cache_->haveId = false;
    return settings_.SetDword(SettingsStore::LanguageKeyPath, SettingsStore::LanguageIdName, SupportedIds[slot]);
}

std::string Language::LanguageFile(int index) const
{
    return locations_.LanguageFile(SupportedIds[SlotOf(index)]);
}

std::optional<std::string> Language::ReadSlot(std::string_view section, std::string_view key, size_t slot) const
{
    const std::string path = locations_.LanguageFile(SupportedIds[slot]);
    const std::lock_guard lock(cache_->mutex);
    auto& copy = cache_->files[slot];
    const auto stamp = FileStamp::Of(path);
    if (!copy.read || stamp != copy.stamp) {
        ++cache_->reads;
        copy.read = true;
        copy.stamp = stamp;
        copy.text = IniFile::LoadText(path);
    }
    return copy.text ? IniFile::ReadFromText(*copy.text, section, key) : std::nullopt;
}

std::string Language::Read(std::string_view section, std::string_view key, int index) const
{
    // A translation that lacks a text (or its whole file) shows the English
    // one rather than "#Error".
    const size_t slot = SlotOf(index);
    auto text = ReadSlot(section, key, slot);
    if (!text && slot != 0) {
        text = ReadSlot(section, key, 0);
    }
    return text ? std::move(*text) : std::string(MissingText);
}

std::string Language::Text(std::string_view key, int index) const
{
    return Read("TEXT", key, index);
}
std::string Language::LightText(std::string_view key, int index) const
{
    return Read("LIGHT", key, index);
}
std::string Language::ModeText(std::string_view key, int index) const
{
    return Read("MODE", key, index);
}

std::string Language::Text(std::string_view key) const
{
    return Text(key, LanguageIndex());
}
std::string Language::LightText(std::string_view key) const
{
    return LightText(key, LanguageIndex());
}
std::string Language::ModeText(std::string_view key) const
{
    return ModeText(key, LanguageIndex());
}

}  // namespace trevolin::base
