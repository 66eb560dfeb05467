#include "core/skin/SkinIni.h"

#include "core/base/IniFile.h"

namespace trevolin::skin {

bool SkinIni::Load(const std::string& path)
{
    path_ = path;
    auto text = base::IniFile::LoadText(path);
    loaded_ = text.has_value();
    text_ = text ? std::move(*text) : std::string();
    return loaded_;
}

void SkinIni::LoadText(std::string path, std::string text)
{
    path_ = std::move(path);
    text_ = std::move(text);
    loaded_ = true;
}

std::string SkinIni::Folder() const
{
    const auto slash = path_.rfind('/');
    return slash == std::string::npos ? std::string() : path_.substr(0, slash + 1);
}

std::optional<std::string> SkinIni::Value(std::string_view section, std::string_view key) const
{
    return base::IniFile::ReadFromText(text_, section, key);
}

std::string SkinIni::String(std::string_view section, std::string_view key, std::string_view fallback) const
{
    auto value = Value(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

SkinRectReading SkinIni::Rect(std::string_view section, std::string_view key) const
{
    const auto value = Value(section, key);
    if (!value) {
        return {UnusedSkinRect, SkinRectStatus::Missing};
    }
    return ParseSkinRect(*value);
}

std::string SkinIni::BackgroundName() const
{
    return String(Screen, "Main", "");
}

std::string SkinIni::MaskName() const
{
    return String(Screen, "Mask", BackgroundName());
}

}  // namespace trevolin::skin
