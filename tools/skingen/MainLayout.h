#pragma once

#include "core/keyboard/KeyboardLayout.h"

#include <QRect>
#include <QString>

#include <string>
#include <vector>

namespace trevolin::skingen {

struct PlacedControl {
    std::string key;
    QRect rect;
};

struct KeyCap {
    keyboard::KeyRef key;
    std::string skinName;
    QRect rect;
    uint16_t scan = 0;  // 0 for the G keys and Fn
};

// Where every control of the main window sits, at 1x. The keyboard's keys
// come from the layout table in core, placed on a grid of key units by
// their scan values; everything else is laid out around them.
class MainLayout {
public:
    MainLayout();

    static constexpr int Unit = 38;    // one key unit in pixels
    static constexpr int CapGap = 4;   // between two caps
    static constexpr int Radius = 14;  // the window's rounded corners

    QSize WindowSize() const { return {1248, 540}; }
    QRect TitleBar() const { return {0, 0, 1248, 56}; }
    QRect KeyboardPanel() const { return keyboardPanel_; }
    QRect LightingPanel() const { return lightingPanel_; }
    QRect ActionBar() const { return actionBar_; }
    QRect ProfileBar() const { return profileBar_; }

    const std::vector<PlacedControl>& ImageButtons() const { return buttons_; }
    const std::vector<PlacedControl>& Placements() const { return placements_; }
    const std::vector<KeyCap>& Keys() const { return keys_; }

    // "Arrow.jpg": the arrow buttons' faces, one per "BUTTONINFO2" key.
    QSize ArrowPictureSize() const { return {4 * 34 + 2, 2 * 34 + 2}; }
    const std::vector<PlacedControl>& ArrowFaces() const { return arrowFaces_; }

    // The control of that name (an empty rectangle when there is none).
    QRect Rect(std::string_view key) const;

    std::string IniText() const;

private:
    void PlaceKeys();
    void PlaceCommands();
    void PlacePanel();

    void Button(std::string key, QRect rect);
    void Place(std::string key, QRect rect);

    QRect keyboardPanel_;
    QRect lightingPanel_;
    QRect actionBar_;
    QRect profileBar_;
    std::vector<PlacedControl> buttons_;
    std::vector<PlacedControl> placements_;
    std::vector<PlacedControl> arrowFaces_;
    std::vector<KeyCap> keys_;
};

}  // namespace trevolin::skingen
