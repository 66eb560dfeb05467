#include "MainLayout.h"

#include "core/skin/MainSkin.h"
#include "core/skin/SkinIni.h"

#include <fmt/format.h>

#include <array>
#include <cmath>

namespace trevolin::skingen {

namespace {

// A key's place on the grid, in key units: column, row, width, height.
struct GridPlace {
    uint16_t scan;
    double column;
    double row;
    double width = 1.0;
    double height = 1.0;
};

constexpr double R0 = 0.0;   // function row
constexpr double R1 = 1.25;  // number row, after a gap
constexpr double R2 = 2.25;
constexpr double R3 = 3.25;
constexpr double R4 = 4.25;
constexpr double R5 = 5.25;
constexpr double Nav = 15.25;  // the editing block
constexpr double Pad = 18.5;   // the number pad

constexpr std::array Grid = {
    GridPlace{0x01, 0, R0},
    GridPlace{0x3B, 2, R0},
    GridPlace{0x3C, 3, R0},
    GridPlace{0x3D, 4, R0},
    GridPlace{0x3E, 5, R0},
    GridPlace{0x3F, 6.5, R0},
    GridPlace{0x40, 7.5, R0},
    GridPlace{0x41, 8.5, R0},
    GridPlace{0x42, 9.5, R0},
    GridPlace{0x43, 11, R0},
    GridPlace{0x44, 12, R0},
    GridPlace{0x57, 13, R0},
    GridPlace{0x58, 14, R0},
    GridPlace{0x137, Nav, R0},
    GridPlace{0x46, Nav + 1, R0},
    GridPlace{0x45, Nav + 2, R0},
    GridPlace{0x29, 0, R1},
    GridPlace{0x02, 1, R1},
    GridPlace{0x03, 2, R1},
    GridPlace{0x04, 3, R1},
    GridPlace{0x05, 4, R1},
    GridPlace{0x06, 5, R1},
    GridPlace{0x07, 6, R1},
    GridPlace{0x08, 7, R1},
    GridPlace{0x09, 8, R1},
    GridPlace{0x0A, 9, R1},
    GridPlace{0x0B, 10, R1},
    GridPlace{0x0C, 11, R1},
    GridPlace{0x0D, 12, R1},
    GridPlace{0x0E, 13, R1, 2},
    GridPlace{0x152, Nav, R1},
    GridPlace{0x147, Nav + 1, R1},
    GridPlace{0x149, Nav + 2, R1},
    GridPlace{0x145, Pad, R1},
    GridPlace{0x135, Pad + 1, R1},
    GridPlace{0x37, Pad + 2, R1},
    GridPlace{0x4A, Pad + 3, R1},
    GridPlace{0x0F, 0, R2, 1.5},
    GridPlace{0x10, 1.5, R2},
    GridPlace{0x11, 2.5, R2},
    GridPlace{0x12, 3.5, R2},
    GridPlace{0x13, 4.5, R2},
    GridPlace{0x14, 5.5, R2},
    GridPlace{0x15, 6.5, R2},
    GridPlace{0x16, 7.5, R2},
    GridPlace{0x17, 8.5, R2},
    GridPlace{0x18, 9.5, R2},
    GridPlace{0x19, 10.5, R2},
    GridPlace{0x1A, 11.5, R2},
    GridPlace{0x1B, 12.5, R2},
    GridPlace{0x2B, 13.5, R2, 1.5},
    GridPlace{0x153, Nav, R2},
    GridPlace{0x14F, Nav + 1, R2},
    GridPlace{0x151, Nav + 2, R2},
    GridPlace{0x47, Pad, R2},
    GridPlace{0x48, Pad + 1, R2},
    GridPlace{0x49, Pad + 2, R2},
    GridPlace{0x4E, Pad + 3, R2, 1, 2},
    GridPlace{0x3A, 0, R3, 1.75},
    GridPlace{0x1E, 1.75, R3},
    GridPlace{0x1F, 2.75, R3},
    GridPlace{0x20, 3.75, R3},
    GridPlace{0x21, 4.75, R3},
    GridPlace{0x22, 5.75, R3},
    GridPlace{0x23, 6.75, R3},
    GridPlace{0x24, 7.75, R3},
    GridPlace{0x25, 8.75, R3},
    GridPlace{0x26, 9.75, R3},
    GridPlace{0x27, 10.75, R3},
    GridPlace{0x28, 11.75, R3},
    GridPlace{0x1C, 12.75, R3, 2.25},
    GridPlace{0x4B, Pad, R3},
    GridPlace{0x4C, Pad + 1, R3},
    GridPlace{0x4D, Pad + 2, R3},
    GridPlace{0x2A, 0, R4, 1.25},
    GridPlace{0x56, 1.25, R4},
    GridPlace{0x2C, 2.25, R4},
    GridPlace{0x2D, 3.25, R4},
    GridPlace{0x2E, 4.25, R4},
    GridPlace{0x2F, 5.25, R4},
    GridPlace{0x30, 6.25, R4},
    GridPlace{0x31, 7.25, R4},
    GridPlace{0x32, 8.25, R4},
    GridPlace{0x33, 9.25, R4},
    GridPlace{0x34, 10.25, R4},
    GridPlace{0x35, 11.25, R4},
    GridPlace{0x36, 12.25, R4, 2.75},
    GridPlace{0x148, Nav + 1, R4},
    GridPlace{0x4F, Pad, R4},
    GridPlace{0x50, Pad + 1, R4},
    GridPlace{0x51, Pad + 2, R4},
    GridPlace{0x11C, Pad + 3, R4, 1, 2},
    GridPlace{0x1D, 0, R5, 1.25},
    GridPlace{0x15B, 1.25, R5, 1.25},
    GridPlace{0x38, 2.5, R5, 1.25},
    GridPlace{0x39, 3.75, R5, 6.25},
    GridPlace{0x138, 10, R5},
    GridPlace{0x15C, 11, R5},
    // 12: the Fn key
    GridPlace{0x15D, 13, R5},
    GridPlace{0x11D, 14, R5},
    GridPlace{0x14B, Nav, R5},
    GridPlace{0x150, Nav + 1, R5},
    GridPlace{0x14D, Nav + 2, R5},
    GridPlace{0x52, Pad, R5, 2},
    GridPlace{0x53, Pad + 2, R5},
};
static_assert(Grid.size() == keyboard::LayoutKeyCount);

constexpr double FnColumn = 12;
constexpr double GColumnWidth = 1.5;
constexpr double GColumnGap = 0.5;
constexpr double KeyRows = 6.25;

int Px(double units)
{
    return static_cast<int>(std::lround(units * MainLayout::Unit));
}

}  // namespace

MainLayout::MainLayout()
{
    keyboardPanel_ = QRect(16, 112, 964, 270);
    lightingPanel_ = QRect(keyboardPanel_.right() + 17, 64, 0, 440);
    lightingPanel_.setRight(WindowSize().width() - 17);
    profileBar_ = QRect(16, 64, keyboardPanel_.width(), 40);
    actionBar_ = QRect(16, keyboardPanel_.bottom() + 13, keyboardPanel_.width(), 0);
    actionBar_.setBottom(lightingPanel_.bottom());
    PlaceCommands();
    PlaceKeys();
    PlacePanel();
}

void MainLayout::Button(std::string key, QRect rect)
{
    buttons_.push_back({std::move(key), rect});
}

void MainLayout::Place(std::string key, QRect rect)
{
    placements_.push_back({std::move(key), rect});
}

void MainLayout::PlaceKeys()
{
    const int top = keyboardPanel_.top() + 16;
    const int gLeft = keyboardPanel_.left() + 16;
    const int left = gLeft + Px(GColumnWidth + GColumnGap);
    const int half = CapGap / 2;
    auto capRect = [&](double column, double row, double width, double height) {
        const int x0 = left + Px(column);
        const int y0 = top + Px(row);
        return QRect(x0 + half, y0 + half, left + Px(column + width) - x0 - CapGap,
                     top + Px(row + height) - y0 - CapGap);
    };
    const auto layout = keyboard::LayoutKeys();
    for (size_t i = 0; i < layout.size(); ++i) {
        const keyboard::KeyRef ref{keyboard::KeyKind::Layout, static_cast<uint8_t>(i)};
        for (const auto& place : Grid) {
            if (place.scan == layout[i].scan) {
                keys_.push_back({ref, keyboard::SkinNameOf(ref),
                                 capRect(place.column, place.row, place.width, place.height), place.scan});
            }
        }
    }
    // The G keys in a column of their own, as tall as the keyboard.
    const int columnHeight = Px(KeyRows);
    for (size_t g = 0; g < keyboard::GKeyCount; ++g) {
        const keyboard::KeyRef ref{keyboard::KeyKind::GKey, static_cast<uint8_t>(g)};
        const int y0 = top + static_cast<int>(columnHeight * g / keyboard::GKeyCount);
        const int y1 = top + static_cast<int>(columnHeight * (g + 1) / keyboard::GKeyCount);
        keys_.push_back({ref, keyboard::SkinNameOf(ref),
                         QRect(gLeft + half, y0 + half, Px(GColumnWidth) - CapGap, y1 - y0 - CapGap), 0});
    }
    const keyboard::KeyRef fn{keyboard::KeyKind::Fn, 0};
    keys_.push_back({fn, keyboard::SkinNameOf(fn), capRect(FnColumn, R5, 1, 1), 0});
    for (const auto& key : keys_) {
        Button(key.skinName, key.rect);
    }
    // The lock lights sit above the number pad, where a keyboard has them.
    const int lockTop = top + 6;
    const std::array<const char*, 4> locks = {"LOCK_CAPS", "LOCK_NUM", "LOCK_SCROLL", "LOCK_AB"};
    for (size_t i = 0; i < locks.size(); ++i) {
        const int x0 = left + Px(Pad + static_cast<double>(i));
        Button(locks[i], QRect(x0 + half, lockTop, Unit - CapGap, Unit - 12));
    }
}

void MainLayout::PlaceCommands()
{
    const int width = WindowSize().width();
    Button("VELTRA_LINK", QRect(20, 12, 168, 32));
    Button("VELTRA_VER", QRect(196, 22, 96, 16));
    const std::array<const char*, 4> corner = {"CONTROL_MENU", "CONTROL_HELP", "CONTROL_MINIMIZE", "CONTROL_CLOSE"};
    for (size_t i = 0; i < corner.size(); ++i) {
        Button(corner[i], QRect(width - 20 - static_cast<int>(corner.size() - i) * 36 + 4, 14, 32, 28));
    }

    const int barTop = profileBar_.top();
    for (int i = 0; i < 3; ++i) {
        Button(fmt::format("FUNC_PROFILE{}", i + 1), QRect(profileBar_.left() + i * 112, barTop + 4, 104, 32));
    }
    // The profile's name on a level plate in the profile bar: tilted, it
    // would cross the title's hairline.
    Button("FUNC_PROFILES", QRect(profileBar_.left() + 352, barTop + 4, 208, 32));
    Button("FUNC_MACRO", QRect(profileBar_.right() - 2 * 112 + 9, barTop + 4, 104, 32));
    Button("FUNC_DEFAULT", QRect(profileBar_.right() - 112 + 9, barTop + 4, 104, 32));

    // The flip group: which of the two key rows the keyboard's top left
    // keys answer to, with the arrows pointing at the active one.
    const int actionTop = actionBar_.top() + 8;
    int x = actionBar_.left();
    Button("LEFT_ARROW", QRect(x, actionTop + 4, 20, 32));
    Button("FLIP_1", QRect(x + 24, actionTop + 4, 32, 32));
    Button("FLIP_0", QRect(x + 60, actionTop + 4, 104, 32));
    Button("FLIP_2", QRect(x + 168, actionTop + 4, 32, 32));
    Button("RIGHT_ARROW", QRect(x + 204, actionTop + 4, 20, 32));

    const int right = actionBar_.right() + 1;
    Button("CONTROL2_APPLY", QRect(right - 136, actionTop, 136, 40));
    Button("CONTROL_OK", QRect(right - 136 - 112, actionTop + 4, 104, 32));
    Button("CONTROL_CANCEL", QRect(right - 136 - 224, actionTop + 4, 104, 32));

    // The rest of the bar: links and the busy indicator beside Apply.
    Place("CONTROL_JDTStatic", QRect(right - 136 - 224 - 44, actionTop + 6, 28, 28));
    const int linkTop = actionBar_.bottom() - 28;
    const std::array<const char*, 3> links = {"CONTROL_Network", "CONTROL_Facebook", "CONTROL_twitter"};
    for (size_t i = 0; i < links.size(); ++i) {
        Place(links[i], QRect(actionBar_.left() + static_cast<int>(i) * 34, linkTop, 28, 28));
    }
}

void MainLayout::PlacePanel()
{
    const int left = lightingPanel_.left() + 16;
    const int right = lightingPanel_.right() - 15;
    const int labelWidth = 84;
    const int fieldLeft = left + labelWidth + 4;
    const int fieldWidth = right - fieldLeft;
    auto row = [&](int y) { return lightingPanel_.top() + y; };

    Place("CONTROL_DengStatic", QRect(left, row(14), 150, 22));
    Place("CONTROL_DengStaPic", QRect(right - 44, row(13), 44, 24));
    Place("CONTROL_XGcombox", QRect(left, row(48), right - left, 26));
    Place("CONTROL_LightStatic", QRect(left, row(86), labelWidth, 22));
    Place("CONTROL_LightSlider", QRect(fieldLeft, row(86), fieldWidth, 22));
    Place("CONTROL_SpeedStatic", QRect(left, row(116), labelWidth, 22));
    Place("CONTROL_SpeedSlider", QRect(fieldLeft, row(116), fieldWidth, 22));
    for (const char* suffix : {"", "2", "3"}) {
        Place(fmt::format("CONTROL_BLFXStatic{}", suffix), QRect(left, row(146), labelWidth, 24));
        Place(fmt::format("CONTROL_BLFXLStaPic{}", suffix), QRect(fieldLeft, row(146), 44, 24));
        Place(fmt::format("CONTROL_BLFXRStaPic{}", suffix), QRect(fieldLeft + 52, row(146), 44, 24));
    }

    // One area for the effect's own controls: only one group shows at once.
    const int area = row(182);
    Place("CONTROL_HXysStatic", QRect(left, area, labelWidth, 24));
    Place("CONTROL_HXysButton", QRect(fieldLeft, area, fieldWidth, 24));
    Place("CONTROL_HXsjsStatic", QRect(left, area + 30, labelWidth, 24));
    Place("CONTROL_HXsjsStaPic", QRect(fieldLeft, area + 30, 44, 24));
    Place("CONTROL_FYYSStatic", QRect(left, area, labelWidth, 24));
    Place("CONTROL_FYYSButton", QRect(fieldLeft, area, fieldWidth, 24));
    Place("CONTROL_FYSJSStatic", QRect(left, area + 30, labelWidth, 24));
    Place("CONTROL_FYSJSStaPic", QRect(fieldLeft, area + 30, 44, 24));
    const std::array<const char*, 4> choices = {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC",
                                                "CONTROL_LANPIC"};
    for (size_t i = 0; i < choices.size(); ++i) {
        Place(choices[i], QRect(left + static_cast<int>(i) * 36, area, 30, 30));
    }
    Place("CONTROL_umCombo", QRect(left, area, right - left, 24));
    Place("CONTROL_USERysStatic", QRect(left, area + 30, labelWidth, 24));
    Place("CONTROL_USERysButton", QRect(fieldLeft, area + 30, fieldWidth, 24));
    Place("CONTROL_USERjsStatic", QRect(left, area + 60, labelWidth, 24));
    Place("CONTROL_USERjsButton", QRect(fieldLeft, area + 60, fieldWidth, 24));
    Place("CONTROL_USERgjStatic", QRect(left, area + 90, labelWidth, 24));
    Place("CONTROL_USERgjStaPic1", QRect(fieldLeft, area + 90, 44, 24));
    Place("CONTROL_USERgjStaPic2", QRect(fieldLeft + 52, area + 90, 44, 24));

    Place("CONTROL_UsbStatic", QRect(left, row(310), right - left, 20));
    const int reportWidth = (right - left - 3 * 6) / 4;
    for (int i = 0; i < 4; ++i) {
        Button(fmt::format("FUNC_REPORT{}", i + 1), QRect(left + i * (reportWidth + 6), row(334), reportWidth, 28));
    }
    Place("CONTROL_RGBStatic", QRect(left, row(374), 40, 22));
    const int numberWidth = (right - left - 44 - 2 * 6) / 3;
    const std::array<const char*, 3> numbers = {"COLOR_R", "COLOR_G", "COLOR_B"};
    for (size_t i = 0; i < numbers.size(); ++i) {
        Place(numbers[i], QRect(left + 44 + static_cast<int>(i) * (numberWidth + 6), row(374), numberWidth, 22));
    }
    const int swatch = (right - left - 7 * 6) / 8;
    for (int i = 0; i < 8; ++i) {
        Place(fmt::format("CONTROL_Color{}", i + 1), QRect(left + i * (swatch + 6), row(406), swatch, swatch));
    }

    // "Arrow.jpg": up and down for each arrow, plain (1) and lit (2). The
    // rectangles are where the faces are drawn; their origins are one pixel
    // further right and down.
    const std::array<const char*, 4> faces = {"UP_ARROW_LEFT", "DOWN_ARROW_LEFT", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT"};
    for (int look = 0; look < 2; ++look) {
        for (size_t i = 0; i < faces.size(); ++i) {
            arrowFaces_.push_back(
                {fmt::format("{}{}", faces[i], look + 1), QRect(2 + static_cast<int>(i) * 34, 2 + look * 34, 20, 32)});
        }
    }
}

QRect MainLayout::Rect(std::string_view key) const
{
    for (const auto* list : {&buttons_, &placements_}) {
        for (const auto& control : *list) {
            if (control.key == key) {
                return control.rect;
            }
        }
    }
    return {};
}

std::string MainLayout::IniText() const
{
    auto line = [](const PlacedControl& control) {
        const QRect& r = control.rect;
        return fmt::format("{}={},{},{},{}\n", control.key, r.x(), r.y(), r.width(), r.height());
    };
    std::string text = "; Trevolin's main window, written by skingen from the keyboard layout.\n";
    // The background carries no button faces: every image button paints its
    // own, cut from the state pictures one pixel up and left of its place.
    text += fmt::format("[{}]\nMain=main_back.jpg\nMask=main_mask.png\n{}=Help/index.html\n\n", skin::SkinIni::Screen,
                        skin::main_skin::LinkKey);
    text += fmt::format("[{}]\n", skin::SkinIni::ButtonInfo);
    for (const auto& control : buttons_) {
        text += line(control);
    }
    for (const auto& control : placements_) {
        text += line(control);
    }
    text += fmt::format("\n[{}]\n", skin::SkinIni::ButtonInfo2);
    for (const auto& face : arrowFaces_) {
        text += line({face.key, face.rect.translated(1, 1)});
    }
    return text;
}

}  // namespace trevolin::skingen
