#pragma once

#include "core/skin/SkinRect.h"

#include <optional>
#include <string>
#include <string_view>

namespace trevolin::skin {

// One window's skin ini, read once and kept in memory: a window places a
// hundred controls from it. The file is outside input; a missing or
// unreadable one reads as empty, so every control gets its default place.
class SkinIni {
public:
    static constexpr std::string_view ButtonInfo = "BUTTONINFO";
    static constexpr std::string_view ButtonInfo2 = "BUTTONINFO2";
    static constexpr std::string_view Screen = "SCREEN";

    // False when the file cannot be read as an ini file.
    [[nodiscard]] bool Load(const std::string& path);
    // For a skin that is not on disk (tests, the generator's own checks).
    void LoadText(std::string path, std::string text);

    const std::string& Path() const { return path_; }
    // The folder the pictures are named relative to, with a trailing '/'.
    std::string Folder() const;
    bool Loaded() const { return loaded_; }

    std::string String(std::string_view section, std::string_view key, std::string_view fallback) const;
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // A missing key reads as the unused rectangle (status Missing).
    SkinRectReading Rect(std::string_view section, std::string_view key) const;

    // "SCREEN": the background picture, and the mask ("Main" when absent).
    std::string BackgroundName() const;
    std::string MaskName() const;

private:
    std::string path_;
    std::string text_;
    bool loaded_ = false;
};

}  // namespace trevolin::skin
